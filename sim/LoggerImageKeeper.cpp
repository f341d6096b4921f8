#include "sim/LoggerImageKeeper.h"

#include "platform/EventLoop.h"
#include "sim/LoggerSimulator.h"

#include <QDir>
#include <QFileInfo>

LoggerImageKeeper::LoggerImageKeeper(EventLoop &loop, LoggerSimulator &logger, const QString &file)
    : m_loop(loop)
    , m_logger(logger)
    , m_file(file)
    , m_timer(loop.createTimer())
{
    m_timer->setSingleShot(true);
    m_timer->setHandler([this] { saveIfChanged(); });
    m_logger.setMemoryChangedHandler([this] { memoryChanged(); });
}

LoggerImageKeeper::~LoggerImageKeeper()
{
    m_logger.setMemoryChangedHandler({});
}

void LoggerImageKeeper::memoryChanged()
{
    m_changed = true;
    if (m_timer->isActive())
        return;
    // Right after the change when the file is not being rewritten all the
    // time; otherwise at the end of the gap, with whatever came meanwhile.
    const qint64 due = m_lastSaveNs + MinSaveGapNs - m_loop.elapsedNs();
    m_timer->setIntervalNs(qMax<qint64>(0, due));
    m_timer->start();
}

void LoggerImageKeeper::saveIfChanged()
{
    if (!m_changed)
        return;
    QString error;
    if (!saveNow(&error) && m_onError)
        m_onError(error);
}

bool LoggerImageKeeper::saveNow(QString *error)
{
    m_timer->stop();
    m_changed = false;
    m_lastSaveNs = m_loop.elapsedNs();
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    return m_logger.imageToKeep().save(m_file, error);
}
