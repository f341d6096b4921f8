#include "cli/CliSession.h"

#include "app/DemoLogger.h"
#include "cli/CliDialogs.h"
#include "cli/CliOptions.h"
#include "cli/CliProgress.h"
#include "cli/ExitCode.h"
#include "logger/LoggerConnection.h"
#include "platform/PortNames.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtSerialPort.h"

#include <QDir>
#include <cstdio>

namespace {

void complain(const QString &text)
{
    std::fprintf(stderr, "datalogger-cli: %s\n", qPrintable(text));
}


} // namespace

CliSession::CliSession(const CliOptions &options, CliDialogs &dialogs, CliProgress &progress)
    : m_options(options)
    , m_dialogs(dialogs)
    , m_progress(progress)
    , m_loop(std::make_unique<QtEventLoop>())
    , m_settings(DemoLogger::openSettings(options.demo))
    , m_serialPort(std::make_unique<QtSerialPort>())
{
}

CliSession::~CliSession()
{
    close();
}

QString CliSession::dataFolder() const
{
    const QString fallback = m_options.demo ? PortNames::demoDataFolder() : PortNames::defaultDataFolder();
    if (m_options.demo)
        return fallback;
    const QString configured = StartupSettings(*m_settings).get(QStringLiteral("DefaultPath"), fallback);
    return QDir(configured).exists() ? configured : fallback;
}

bool CliSession::openDemo()
{
    QDir().mkpath(PortNames::demoDataFolder());
    m_demo = std::make_unique<DemoLogger>(*m_loop, m_options.image);
    m_demo->setSaveErrorHandler([](const QString &error) { complain(error); });
    QString error;
    if (!m_demo->start(m_options.preset, m_loop->now(), &error)) {
        complain(error);
        return false;
    }
    m_device = QStringLiteral("demo");
    return true;
}

int CliSession::connect()
{
    if (m_options.demo) {
        if (!openDemo())
            return ExitCode::NoLogger;
    } else {
        const int number = StartupSettings(*m_settings).getInt(QStringLiteral("CommPortNum"), 0, 0, 32767);
        m_device = !m_options.port.isEmpty() ? m_options.port
                   : number > 0              ? PortNames::deviceForPort(number)
                                             : QString();
        if (m_device.isEmpty()) {
            complain(QStringLiteral("no port configured: name one with --port DEVICE, or use --demo"));
            return ExitCode::NoLogger;
        }
    }
    Port &port = m_demo ? m_demo->port() : static_cast<Port &>(*m_serialPort);
    m_connection = std::make_unique<LoggerConnection>(port, *m_loop, *m_settings, m_dialogs);
    LoggerConnection &c = *m_connection;
    if (!m_demo)
        c.link.setDeviceOverride(m_device);
    c.link.setHandshake(!m_options.noHandshake);
    c.link.baud().setAutoBaud(m_options.baud != u"9600");
    wireCapture();
    followTexts();
    QObject::connect(&c.headerReader, &HeaderReader::progressChanged, &c.headerReader,
                     [this](double value, int maximum) {
                         if (value <= 0)
                             m_progress.start(QStringLiteral("Reading header"), maximum, QStringLiteral("steps"));
                         m_progress.update(qint64(value));
                     });

    bool sequenceStarted = false;
    const QMetaObject::Connection started = QObject::connect(
        &c.link, &SerialLink::newConnectionStarting, &c.link, [&sequenceStarted] { sequenceStarted = true; });
    c.link.subCommConnect();
    if (!port.isOpen()) {
        complain(QStringLiteral("cannot open %1: %2").arg(m_device, port.openErrorText()));
        return ExitCode::NoLogger;
    }
    // The new-connection sequence reads the first lines, the events and
    // the header; it ends early when a read fails.
    waitFor([&] { return sequenceStarted && !c.link.sequences().isRunning(); }, m_options.timeoutSeconds);
    QObject::disconnect(started);
    const bool read = c.header.headerValid && !c.link.sequences().isRunning();
    m_progress.finish();
    if (!c.state.loggerConnected) {
        complain(QStringLiteral("no logger detected on %1").arg(m_device));
        return ExitCode::NoLogger;
    }
    if (!read) {
        complain(QStringLiteral("the logger's header could not be read on %1").arg(m_device));
        return ExitCode::LinkFailure;
    }
    return ExitCode::Done;
}

// Without windows the capture takes the channel selection the logger holds.
void CliSession::wireCapture()
{
    LoggerConnection *c = m_connection.get();
    c->capture.setHooks(c->captureHooks());
}

void CliSession::followTexts()
{
    StatusByteCommands *statusByte = &m_connection->statusByte;
    QObject::connect(statusByte, &StatusByteCommands::statusLineChanged, statusByte,
                     [this](const QString &text) { m_statusLine = text; });
    QObject::connect(statusByte, &StatusByteCommands::batteryStopDateChanged, statusByte,
                     [this](const QString &text) { m_stopDate = text; });
    QObject::connect(statusByte, &StatusByteCommands::alertLabelChanged, statusByte,
                     [this](const QString &text, auto) { m_alert = text; });
}

void CliSession::run(const std::function<void()> &command)
{
    m_connection->link.sequences().runCommand(command);
}

bool CliSession::waitFor(const std::function<bool()> &done, double seconds)
{
    const qint64 end = m_loop->elapsedNs() + qint64(seconds * 1e9);
    while (!done() && m_loop->elapsedNs() < end)
        m_loop->yieldUntil(end);
    return done();
}

void CliSession::close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_connection)
        m_connection->shutDown();
    if (m_demo) {
        QString error;
        if (!m_demo->saveImage(&error))
            complain(error);
    }
}
