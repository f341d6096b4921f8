#include "platform/qt/QtEventLoop.h"

#include "platform/qt/QtTimer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

#include <cerrno>
#include <cstring>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <time.h>
#endif

namespace {
// Longest a yield blocks waiting for an event before it returns to its caller.
constexpr int MaxBlockMs = 10;
} // namespace

QtEventLoop::QtEventLoop()
{
    m_clock.start();
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
}

QDateTime QtEventLoop::now() const
{
    return QDateTime::currentDateTime();
}

qint64 QtEventLoop::elapsedNs() const
{
    return m_clock.nsecsElapsed();
}

void QtEventLoop::processWaiting(int maxWaitMs)
{
    QCoreApplication::sendPostedEvents();
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (!dispatcher)
        return;
    if (maxWaitMs <= 0) {
        dispatcher->processEvents(QEventLoop::AllEvents);
        return;
    }
    m_wake.start(maxWaitMs);
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    m_wake.stop();
    QCoreApplication::sendPostedEvents();
}

void QtEventLoop::yield()
{
    processWaiting(MaxBlockMs);
}

void QtEventLoop::yieldUntil(qint64 deadlineNs)
{
    const qint64 remainingNs = deadlineNs - elapsedNs();
    if (remainingNs <= 0) {
        processWaiting(0);
        return;
    }
    if (remainingNs < 1000000) {
        // Below the resolution of Qt's timers: handle what is pending, then
        // sleep off the rest rather than spin.
        processWaiting(0);
        const qint64 left = deadlineNs - elapsedNs();
        if (left > 0)
            QThread::usleep(quint64(left / 1000));
        return;
    }
    processWaiting(int(qMin<qint64>(remainingNs / 1000000, MaxBlockMs)));
}

void QtEventLoop::post(std::function<void()> fn)
{
    QMetaObject::invokeMethod(&m_context, std::move(fn), Qt::QueuedConnection);
}

std::unique_ptr<Timer> QtEventLoop::createTimer()
{
    return std::make_unique<QtTimer>();
}

bool QtEventLoop::setSystemDateTime(const QDateTime &local, QString *error)
{
#ifdef Q_OS_WIN
    const QDate d = local.date();
    const QTime t = local.time();
    SYSTEMTIME st{};
    st.wYear = WORD(d.year());
    st.wMonth = WORD(d.month());
    st.wDay = WORD(d.day());
    st.wHour = WORD(t.hour());
    st.wMinute = WORD(t.minute());
    st.wSecond = WORD(t.second());
    if (SetLocalTime(&st))
        return true;
    if (error)
        *error = QStringLiteral("Windows refused to set the clock (error %1).").arg(GetLastError());
    return false;
#else
    const qint64 ms = local.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long((ms % 1000) * 1000000);
    if (clock_settime(CLOCK_REALTIME, &ts) == 0)
        return true;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}
