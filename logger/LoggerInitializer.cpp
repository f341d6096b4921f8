#include "logger/LoggerInitializer.h"

#include "link/CommandTransport.h"
#include "link/LinkState.h"
#include "link/StatusByteCommands.h"
#include "logger/DefaultCalibration.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerHeader.h"
#include "logger/TripLevels.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/StartupSettings.h"

const QString LoggerInitializer::NotInitializedTitle = QStringLiteral("Logger NOT Initialized");
const QString LoggerInitializer::RefusedTitle = QStringLiteral("Nothing Written to the Logger");

namespace {

const QString Cr = QStringLiteral("\r");
const QString CrLf = QStringLiteral("\r\n");
const QString Unwritten = QString(16, u'x');
// Status byte after an initialization: logging and dump output on.
constexpr qint16 LoggingStatus = 0x90;
constexpr float StartPause = 0.1f;
// 0010 and 0020 of a first initialization: cal interval 0, period 5 s,
// wait 1 s, 32,767 scans, 8 channels, start pointer 0.
const QString FirstInitSetup = QStringLiteral("000000000005000001007FFF08000000");
constexpr int FirstInitChannels = 8;
constexpr int DefaultCalChannels = 8;

// The memory type of a first initialization, from the list entry's kilobits.
QString firstInitMemoryType(int kilobits)
{
    switch (kilobits) {
    case 128: return QStringLiteral("00");
    case 256: return QStringLiteral("01");
    case 512: return QStringLiteral("02");
    default: return QStringLiteral("03");
    }
}

QString versionWarning(const QString &headerVersion)
{
    return QStringList{
        QStringLiteral("This logger was previously initialized using version: ") + headerVersion
            + QStringLiteral("."),
        QStringLiteral("The Header Version supported by this software is:    ") + InitLines::HeaderVersion
            + QStringLiteral("."),
        QString(),
        QStringLiteral("If you continue to initialize the logger with this version, "),
        QStringLiteral("    the header format will be changed to the new version "),
        QString(),
        QStringLiteral("You MUST use this (or newer) software that supports this "),
        QStringLiteral("    new header version when performing future data downloads."),
        QString(),
        QStringLiteral("Do you want to continue the initialization?(OK is recommended)"),
    }.join(Cr);
}

// The notices written by a factory header; the third also fills 02D0-02F0.
const QStringList MakerNotices = {
    QStringLiteral("Copyright (c)   "),
    QStringLiteral("KORVAN Inc.     "),
    QStringLiteral("All rights resvd"),
};

} // namespace

LoggerInitializer::LoggerInitializer(LoggerHeader &header, CommandTransport &transport,
                                     StatusByteCommands &statusByte, LinkState &state,
                                     EventLoop &loop, Dialogs &linkDialogs,
                                     Dialogs &operatorDialogs)
    : m_header(header)
    , m_statusByte(statusByte)
    , m_state(state)
    , m_loop(loop)
    , m_dialogs(linkDialogs)
    , m_operatorDialogs(operatorDialogs)
    , m_writer(transport, state)
{
}

// --- The test initialization ---

void LoggerInitializer::subInitLogger()
{
    QString problem;
    const InitLines::Identity identity = InitLines::identity(m_factory, &problem);
    const std::optional<QString> pointer = InitLines::startPointer(m_factory.startPointer);
    if (problem.isEmpty() && !pointer)
        problem = QStringLiteral("the start pointer \"%1\" is not 6 hexadecimal digits")
                      .arg(m_factory.startPointer);
    if (!problem.isEmpty()) {
        refuse(QStringLiteral("The logger cannot be initialized:"), problem);
        return;
    }
    if (!versionAccepted())
        return;
    m_dialogs.setBusy(true);
    if (!stopAccepted()) {
        m_dialogs.setBusy(false);
        return;
    }
    Counters counters;
    m_writer.begin();
    const bool written = writeTest(identity.line0210, *pointer, &counters);
    m_dialogs.setBusy(false);
    if (!written) {
        gaveUp(NotInitializedTitle,
               QStringLiteral("The logger was NOT initialized: logging was not enabled and its "
                              "header may be half written."),
               QStringLiteral("Reconnect the logger and initialize it again."));
        return;
    }
    commitTest(counters);
    closingMessage();
}

bool LoggerInitializer::versionAccepted()
{
    if (m_header.headerVersion == InitLines::HeaderVersion)
        return true;
    const int answer = m_dialogs.Message_Box(
        versionWarning(m_header.headerVersion),
        int(Dialogs::OkCancel) | int(Dialogs::Critical) | int(Dialogs::DefaultButton2),
        QStringLiteral("Critical Warning! Change in Header Version"));
    return answer != Dialogs::Cancel;
}

bool LoggerInitializer::stopAccepted()
{
    if (!m_statusByte.loggingActive())
        return true;
    m_dialogs.beep();
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("Do you really want to stop, then initialize the logger?"),
        int(Dialogs::YesNo) | int(Dialogs::Question) | int(Dialogs::DefaultButton2),
        QStringLiteral("Stop for Initialization?"));
    return answer != Dialogs::No;
}

bool LoggerInitializer::writeTest(const QString &line0210, const QString &startPointer,
                                  Counters *counters)
{
    m_statusByte.subDisableLogging();
    Q_EMIT lastReadCleared();
    return m_writer.check(QStringLiteral("stopping the logger")) && clearStatusByte()
        && writeTestLines(line0210) && writeCounters(counters)
        && m_writer.writeText(0x0410, InitLines::periodLine(m_setup))
        && writeLiveBlock(startPointer) && startLogging();
}

// A status byte that will not clear is reported, and the initialization goes on.
bool LoggerInitializer::clearStatusByte()
{
    m_statusByte.subSBClear();
    if (!m_writer.check(QStringLiteral("clearing the status byte")))
        return false;
    m_statusByte.subSBRead();
    if (!m_writer.check(QStringLiteral("reading the status byte")))
        return false;
    const int value = m_statusByte.statusValue();
    if (value != 0)
        m_dialogs.Message_Box(QStringLiteral("Status byte not cleared successfully.") + CrLf
                                  + QStringLiteral("This may indicate a dead battery at time of "
                                                   "Initialization of a test."),
                              int(Dialogs::OkOnly) | int(Dialogs::Information),
                              QStringLiteral("Init SB Error= ") + QString::number(value));
    return true;
}

bool LoggerInitializer::writeTestLines(const QString &line0210)
{
    const bool written = m_writer.writeText(0x0210, line0210)
        && m_writer.writeText(0x0400, QStringLiteral("000000")
                                          + m_header.initializedBy.right(10).rightJustified(10, u' '))
        && writeTextLines(0x0450, InitLines::descriptionLines(m_setup.projectIdent))
        && m_writer.writeText(0x0490, InitLines::HeaderVersion + QString(12, u'+'))
        && m_writer.writeText(0x0440, InitLines::stopLine(m_setup.stopTime, m_setup.highestChannel,
                                                          m_setup.timeZoneOffset))
        && writeTextLines(0x0540, {Unwritten, Unwritten, Unwritten});
    if (written)
        Q_EMIT lastDownloadCleared();
    return written;
}

bool LoggerInitializer::writeCounters(Counters *c)
{
    c->start = m_loop.now().addSecs(m_setup.waitSeconds);
    c->batteryInits = m_header.batteryInits + 1;
    c->totalInits = m_header.totalInits + 1;
    const QString start = fnDateToSerialText(c->start);
    if (!m_writer.writeText(0x0420, start + fnHex4(qint32(c->batteryInits))))
        return false;
    Q_EMIT initTimeShown(c->start.toString(QStringLiteral("yyyy/MM/dd-hh:mm:ss")));
    return m_writer.writeText(0x0430, start + fnHex4(qint32(c->totalInits)));
}

bool LoggerInitializer::writeLiveBlock(const QString &startPointer)
{
    const QString setup = InitLines::setupDigits(m_setup, startPointer);
    if (!writeVerified(0x0010, setup) || !writeVerified(0x0020, setup))
        return false;
    if (m_hooks.refreshChannelFlags)
        m_hooks.refreshChannelFlags(m_setup);
    return writeVerified(0x0040, InitLines::channelConfig(m_setup))
        && m_writer.writeHex(0x0000, InitLines::liveLine(m_factory.memoryTypeCode,
                                                         m_setup.highestChannel, startPointer));
}

// A line that reads back otherwise is reported; the initialization goes on.
bool LoggerInitializer::writeVerified(int address, const QString &digits)
{
    if (!m_writer.writeHex(address, digits))
        return false;
    const std::optional<QString> read = m_writer.readHex(address);
    if (!read)
        return false;
    if (*read != digits)
        m_dialogs.Message_Box(QStringLiteral("INIT Confirmation ERROR! at ")
                                  + HeaderLineWriter::address(address) + QStringLiteral(":") + CrLf
                                  + digits + CrLf + *read,
                              Dialogs::OkOnly, StartupSettings::App);
    return true;
}

bool LoggerInitializer::startLogging()
{
    if (m_header.hiSpeedCapable)
        m_statusByte.subEnableLogging();
    else
        m_statusByte.subSoftReset();
    if (!m_writer.check(QStringLiteral("starting the logger")))
        return false;
    subWait(m_loop, m_state.commAbort, StartPause);
    m_statusByte.subSBWrite(LoggingStatus);
    return m_writer.check(QStringLiteral("setting the status byte"));
}

// The header now holds what was written; the display keeps the old one
// until the logger is reconnected and read again.
void LoggerInitializer::commitTest(const Counters &c)
{
    LoggerHeader &h = m_header;
    h.headerVersion = InitLines::HeaderVersion;
    h.initHeaderVersion = InitLines::HeaderVersion;
    h.firmwareVersion = m_factory.firmwareVersion;
    h.memoryInstalledHex = m_factory.memoryInstalledHex.toUpper();
    h.installedChannels = qint16(m_factory.installedChannels);
    h.adResolution = qint16(m_factory.adResolution);
    h.testPointer = 0;
    h.scanPeriod = m_setup.periodSeconds;
    h.waitTime = m_setup.waitSeconds;
    h.scanCount = m_setup.scans;
    h.initDate = c.start;
    h.startDate = c.start;
    h.stopDate = m_setup.stopTime;
    h.batteryInits = c.batteryInits;
    h.totalInits = c.totalInits;
    h.activeChannelCount = qint16(m_setup.highestChannel);
    h.initTimeZone = InitLines::timeZoneText(m_setup.timeZoneOffset);
    h.description = InitLines::fit(m_setup.projectIdent, 64);
    h.lastDownloadTime = Unwritten;
    h.lastDownloadFile = Unwritten + Unwritten;
    if (m_hooks.selectionWritten)
        m_hooks.selectionWritten();
}

void LoggerInitializer::closingMessage()
{
    Q_EMIT headerProgressSet(1);
    Q_EMIT messageLine(QStringList{QStringLiteral("Please disconnect the logger,"),
                                   QStringLiteral("check for first blink to verify logging,"),
                                   QStringLiteral("then reconnect the logger to update the "),
                                   QStringLiteral("display with the new information."),
                                   QStringLiteral("Finally, verify that the settings are correct.")}
                           .join(CrLf)
                       + CrLf);
}

// --- Factory and maintenance routines ---

void LoggerInitializer::subFirstInit()
{
    m_dialogs.setBusy(true);
    m_writer.begin();
    const bool written = writeFirstInit();
    m_dialogs.setBusy(false);
    if (!written)
        gaveUp(NotInitializedTitle,
               QStringLiteral("The logger's live block was NOT initialized."),
               QStringLiteral("Reconnect the logger and run the first initialization again."));
}

bool LoggerInitializer::writeFirstInit()
{
    m_statusByte.subSBClear();
    Q_EMIT lastReadCleared();
    const QString live = QStringLiteral("0000A5") + firstInitMemoryType(m_factory.memoryTypeKilobits)
        + QString(16, u'0') + fnHex2(FirstInitChannels) + QStringLiteral("000000");
    if (!m_writer.check(QStringLiteral("clearing the status byte"))
        || !m_writer.writeHex(0x0010, FirstInitSetup) || !m_writer.writeHex(0x0020, FirstInitSetup)
        || !writeVerified(0x0000, live))
        return false;
    m_statusByte.subSoftReset();
    if (!m_writer.check(QStringLiteral("resetting the logger")))
        return false;
    if (m_hooks.captureEvents)
        m_hooks.captureEvents();
    subWait(m_loop, m_state.commAbort, StartPause);
    m_statusByte.subSBWrite(LoggingStatus);
    if (!m_writer.check(QStringLiteral("setting the status byte")))
        return false;
    subWait(m_loop, m_state.commAbort, StartPause);
    return true;
}

void LoggerInitializer::subFactoryHeaderInit()
{
    QString identityProblem;
    QString tripProblem;
    const InitLines::Identity identity = InitLines::identity(m_factory, &identityProblem);
    const QString tripLine = TripLevels::line0050(m_factory, &tripProblem);
    const QString problem = QStringList{identityProblem, tripProblem}.join(CrLf).trimmed();
    if (!problem.isEmpty()) {
        refuse(QStringLiteral("The factory header cannot be written:"), problem);
        return;
    }
    m_dialogs.setBusy(true);
    m_writer.begin();
    const bool written = writeFactoryHeader(identity, tripLine);
    m_dialogs.setBusy(false);
    if (!written) {
        gaveUp(NotInitializedTitle,
               QStringLiteral("The factory header was NOT completely written."),
               QStringLiteral("Reconnect the logger and write the factory header again."));
        return;
    }
    if (m_hooks.readHeader)
        m_hooks.readHeader();
}

bool LoggerInitializer::writeFactoryHeader(const InitLines::Identity &id, const QString &tripLine)
{
    const QDateTime now = m_loop.now();
    const QString today = fnDateToSerialText(now);
    const QString memory = QString::number(qBound(0, m_factory.memoryChips, 9))
        + QString::number(qBound(0, m_factory.memoryTypeCode, 9)) + QString(14, u' ');
    const QString notice = MakerNotices.last();
    m_statusByte.subSBClear();
    return m_writer.check(QStringLiteral("clearing the status byte"))
        && writeTextLines(0x0200, {id.line0200, id.line0210, id.line0220, id.line0230})
        && m_writer.writeHex(0x0050, tripLine)
        && m_writer.writeText(0x0240, QStringLiteral("UNlock:") + fnSerialText(fnDateToSerial(now), 3))
        && writeTextLines(0x0250, {QStringLiteral("Manufactured in "), QStringLiteral("PellworthCA USA "),
                                   QStringLiteral("by KORVAN       ")})
        && writeTextLines(0x0280, MakerNotices)
        && m_writer.writeText(0x02B0, QStringLiteral("client info???  "))
        && m_writer.writeText(0x02C0, memory)
        && writeTextLines(0x02D0, {notice, notice, notice})
        && writeTextLines(0x0400, {QStringLiteral("000000FactoryInt"), QStringLiteral("003C00000100FFFF"),
                                   today + QStringLiteral("0000"), today + QStringLiteral("0000"),
                                   today + fnHex1(qint16(m_factory.installedChannels))
                                       + InitLines::timeZoneText(m_setup.timeZoneOffset),
                                   QStringLiteral("Factory Init 001"), QStringLiteral("Factory Init 002"),
                                   QStringLiteral("Factory Init 003"), QStringLiteral("Factory Init 004"),
                                   InitLines::HeaderVersion + QString(12, u'+')})
        && writeTextLines(0x0500, {today + QString(4, u' '), today + QString(4, u' '),
                                   today + QString(4, u' '), Unwritten, Unwritten, Unwritten, Unwritten});
}

void LoggerInitializer::cmdWriteTripLevels()
{
    QString problem;
    const QString tripLine = TripLevels::line0050(m_factory, &problem);
    if (!problem.isEmpty()) {
        refuse(QStringLiteral("The trip levels cannot be written:"), problem);
        return;
    }
    m_writer.begin();
    if (!m_writer.writeHex(0x0050, tripLine)
        || !m_writer.writeText(0x02D0, TripLevels::line02D0(m_factory)))
        gaveUp(QStringLiteral("Trip Levels NOT Written"),
               QStringLiteral("The trip levels were NOT completely written."),
               QStringLiteral("Reconnect the logger and write them again."));
}

void LoggerInitializer::subDefaultCal()
{
    const bool millivolts = m_header.modelVersion.contains(QStringLiteral("MC"));
    m_dialogs.setBusy(true);
    m_writer.begin();
    bool written = true;
    for (int channel = 1; channel <= DefaultCalChannels && written; ++channel)
        written = writeDefaultChannel(channel, millivolts);
    m_dialogs.setBusy(false);
    if (!written)
        gaveUp(QStringLiteral("Default Calibration NOT Written"),
               QStringLiteral("The default calibration was NOT completely written."),
               QStringLiteral("Reconnect the logger and write the default calibration again."));
}

// The record in memory follows only a block the logger took completely.
bool LoggerInitializer::writeDefaultChannel(int channel, bool millivolts)
{
    const int page = (channel - 1 + 6) * 0x100;
    if (!writeTextLines(page, DefaultCalibration::lines(channel, millivolts)))
        return false;
    DefaultCalibration::apply(m_header.channel[size_t(channel - 1)], channel, millivolts);
    return true;
}

// --- Common ---

bool LoggerInitializer::writeTextLines(int first, const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i)
        if (!m_writer.writeText(first + 0x10 * i, lines[i]))
            return false;
    return true;
}

void LoggerInitializer::refuse(const QString &what, const QString &problem)
{
    m_dialogs.Message_Box(what + CrLf + problem + CrLf
                              + QStringLiteral("Nothing was written to the logger. Correct the "
                                               "factory fields and try again."),
                          int(Dialogs::OkOnly) | int(Dialogs::Critical), RefusedTitle);
}

// The image in memory no longer matches the logger: it must be read again
// before anything else is written or downloaded.
void LoggerInitializer::gaveUp(const QString &title, const QString &what, const QString &again)
{
    m_header.headerValid = false;
    Q_EMIT headerProgressSet(0);
    Q_EMIT messageLine(title);
    m_operatorDialogs.Message_Box(QStringLiteral("The logger stopped answering (at ") + m_writer.failedAt()
                              + QStringLiteral(").") + CrLf + what + CrLf + again,
                          int(Dialogs::OkOnly) | int(Dialogs::Critical), title);
}
