#include "logger/HeaderReader.h"

#include "link/CommandTransport.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "logger/HeaderDecoder.h"
#include "logger/HeaderMap.h"
#include "logger/LoggerHeader.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <algorithm>
#include <iterator>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// Lines read in this order, before the channel blocks. The series check and
// the baud step come right after 0210; the download file name is read last
// because its second line may need repairing.
constexpr int IdentityLines[] = {0x0200, 0x0210};
constexpr int DetailLines[] = {0x0220, 0x0230, 0x0240, 0x02B0, 0x02C0, 0x02D0, 0x0400,
                               0x0410, 0x0420, 0x0430, 0x0440, 0x0450, 0x0460, 0x0470,
                               0x0480, 0x0490, 0x0500, 0x0510, 0x0540, 0x0550};
constexpr int DownloadFileLine2 = 0x0560;
// Read, but kept out of the header text.
constexpr int UnlistedLines[] = {0x0490, 0x0510};
constexpr int FixedLines = std::size(IdentityLines) + std::size(DetailLines) + 1;
// The notes advance the bar by a quarter step a line.
constexpr int NotesSteps = HeaderMap::NotesLines / 4;
constexpr int OptionalChannelLines[] = {0xE0, 0xF0};

// Where the 16 data characters stand in a "c" reply line.
constexpr int DataStart = 6;

QString lineData(const QString &reply)
{
    return reply.mid(DataStart, HeaderMap::LineBytes);
}

bool contains(const auto &list, int value)
{
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

QString olderSeriesText()
{
    return QStringLiteral("          This software version is intended for use ONLY with Z8x Loggers!")
           + CrLf
           + QStringLiteral("                          You have attached a Z3x series logger.") + CrLf
           + CrLf
           + QStringLiteral("               Please disconnect the logger, Click OK to close this version,")
           + CrLf
           + QStringLiteral("                     and use version 630 to communicate with this logger.")
           + CrLf;
}

} // namespace

// One run of the header read: the copy being filled and the progress bar.
class HeaderReader::Pass
{
public:
    explicit Pass(const LoggerHeader &current) : header(current) {}

    LoggerHeader header;
    double progress = 0.0;
    int maximum = FixedLines + NotesSteps;
};

HeaderReader::HeaderReader(LoggerHeader &header, CommandTransport &transport, LinkState &state,
                           EventLoop &loop, Dialogs &dialogs)
    : m_header(header), m_transport(transport), m_state(state), m_loop(loop), m_dialogs(dialogs)
{
}

void HeaderReader::subReadHeader()
{
    Q_EMIT messageLine(QStringLiteral("Downloading Logger Header Data"));
    Q_EMIT dataLoggerTabSelected();
    m_state.stLastLine.clear();
    m_header.headerValid = false;
    m_state.commAbort = false;

    Pass pass(m_header);
    pass.header.headerText.clear();
    Q_EMIT progressChanged(0.0, pass.maximum);

    if (!readIdentity(pass))
        return fail(pass);
    if (!seriesCheck(pass))
        return;
    if (!readTestLines(pass) || !readDownloadFile(pass))
        return fail(pass);
    for (int index = 0; index < pass.header.channelBlocks(); ++index) {
        if (!readChannel(pass, index))
            return fail(pass);
    }
    finish(pass);
}

bool HeaderReader::readLine(Pass &pass, int address, QString *data)
{
    const QString reply = m_transport.lineReader().fnReadBinc(HeaderMap::addressText(address));
    if (m_state.commAbort)
        return false;
    if (!contains(UnlistedLines, address))
        pass.header.headerText += reply + CrLf;
    *data = lineData(reply);
    advance(&pass.progress, 1.0, pass.maximum);
    return true;
}

bool HeaderReader::readIdentity(Pass &pass)
{
    for (int address : IdentityLines) {
        QString data;
        if (!readLine(pass, address, &data))
            return false;
        HeaderDecoder::applyLine(pass.header, address, data);
    }
    pass.maximum += pass.header.channelBlocks() * HeaderMap::ChannelBlockLines;
    Q_EMIT progressChanged(pass.progress, pass.maximum);
    return true;
}

// False when the logger is of the older series: the program ends.
bool HeaderReader::seriesCheck(Pass &pass)
{
    const QString firmware = pass.header.firmwareVersion;
    const int series = int(HeaderDecoder::numericValue(firmware.mid(1, 1)));
    if (series < CurrentSeriesDigit) {
        m_dialogs.Message_Box(olderSeriesText(), int(Dialogs::OkOnly) | Dialogs::Critical,
                              QStringLiteral("Software Version Error -- Using Z3 Logger with Z8 Sofware"));
        if (m_hooks.endProgram)
            m_hooks.endProgram();
        return false;
    }
    if (!firmware.contains(SeriesLetter)) {
        m_dialogs.Message_Box(QStringLiteral("WARNING....This is an EXPERIMENTAL VERSION.") + CrLf
                                  + CrLf + QStringLiteral("      OK to continue"),
                              Dialogs::OkOnly, QStringLiteral("X-Version Warning"));
    }
    // The link and initialization rely on the flag as soon as it is known.
    m_state.hiSpeedCapable = true;
    m_header.hiSpeedCapable = true;
    pass.header.hiSpeedCapable = true;
    const double limit = m_hooks.batteryLimitSetting ? m_hooks.batteryLimitSetting() : 0.0;
    m_batteryLimits = {limit, limit, limit + 0.15 * limit};
    Q_EMIT monitorFrameEnabled();
    if (m_hooks.autoBaudSwitch)
        m_hooks.autoBaudSwitch();
    return true;
}

bool HeaderReader::readTestLines(Pass &pass)
{
    for (int address : DetailLines) {
        QString data;
        if (!readLine(pass, address, &data))
            return false;
        HeaderDecoder::applyLine(pass.header, address, data);
    }
    return true;
}

// A download-file line the logger cannot deliver is blanked and read again.
bool HeaderReader::readDownloadFile(Pass &pass)
{
    QString data;
    bool read = readLine(pass, DownloadFileLine2, &data);
    for (int repair = 0; !read && repair < DownloadFileRepairs; ++repair) {
        writeText(DownloadFileLine2, QString(HeaderMap::LineBytes, QLatin1Char(' ')));
        if (m_state.commAbort)
            return false;
        read = readLine(pass, DownloadFileLine2, &data);
    }
    if (read)
        HeaderDecoder::applyLine(pass.header, DownloadFileLine2, data);
    return read;
}

bool HeaderReader::readChannel(Pass &pass, int index)
{
    ChannelCalRecord &record = pass.header.channel[index];
    for (int line = 0; line < HeaderMap::ChannelBlockLines * HeaderMap::LineBytes;
         line += HeaderMap::LineBytes) {
        const int address = HeaderMap::channelLineAddress(index, line);
        QString data;
        if (!readLine(pass, address, &data)) {
            if (!contains(OptionalChannelLines, line))
                return false;
            // The last two lines are optional: a logger without them reads 0.
            HeaderDecoder::missingChannelLine(record, line);
            m_state.commAbort = false;
            return true;
        }
        if (line == HeaderMap::spec(ChannelField::CalDue).line && !repairCalDue(address, data))
            return false;
        HeaderDecoder::applyChannelLine(record, line, data);
    }
    return true;
}

// Writes a due date left as "ddddd.xxxxxx" back as "ddddd.000000", keeping
// the rest of the line; false when the logger does not take it.
bool HeaderReader::repairCalDue(int address, const QString &data)
{
    const ChannelFieldSpec &due = HeaderMap::spec(ChannelField::CalDue);
    const QString field = HeaderMap::take(data, due.offset, due.width);
    const QString repaired = HeaderDecoder::repairedCalDue(field);
    if (repaired == field)
        return true;
    writeText(address, repaired + data.mid(due.offset + due.width));
    return !m_state.commAbort;
}

void HeaderReader::subReadHeaderNotes()
{
    double progress = 0.0;
    readNotes(m_header, &progress, NotesSteps);
}

void HeaderReader::readNotes(LoggerHeader &target, double *progress, int maximum)
{
    QString raw;
    for (int line = 0; line < HeaderMap::NotesLines; ++line) {
        const QString address = HeaderMap::addressText(HeaderMap::NotesAddress + 16 * line);
        const QString reply = m_transport.lineReader().fnReadBinc(address);
        if (m_state.commAbort) {
            m_state.commAbort = false;
            Q_EMIT headerNotesShown(QStringLiteral("Error during read at memory location ")
                                    + address + QStringLiteral("."));
            return;
        }
        if (reply.isEmpty())
            break;
        raw += lineData(reply.chopped(2));
        advance(progress, 0.25, maximum);
    }
    if (const std::optional<QString> notes = HeaderDecoder::notesText(raw)) {
        target.notes = *notes;
        Q_EMIT headerNotesShown(*notes);
    }
}

void HeaderReader::finish(Pass &pass)
{
    readNotes(pass.header, &pass.progress, pass.maximum);
    pass.header.headerValid = !m_state.commAbort;
    m_header = pass.header;
    m_header.channelInLogger = m_header.channel;
    if (m_hooks.subParseHdrtoCSV)
        m_hooks.subParseHdrtoCSV();
    if (m_header.headerValid)
        Q_EMIT messageLine(QStringLiteral("Header Data Downloaded--Re-connect Logger to Update"));
    m_state.commAbort = false;
    Q_EMIT progressChanged(0.0, pass.maximum);
    if (m_hooks.subLoggerPresent)
        m_hooks.subLoggerPresent();
    QStringList labels;
    for (int channel = 0; channel < LoggerHeader::ChannelBlocks; ++channel)
        labels << QStringLiteral("%1:").arg(channel + 1) + m_header.channel[channel].location;
    Q_EMIT channelLabelsChanged(labels);
}

void HeaderReader::fail(const Pass &pass)
{
    Q_EMIT progressChanged(0.0, pass.maximum);
    m_header.headerValid = false;
    m_state.commAbort = false;
    if (m_hooks.connectionCheck)
        m_hooks.connectionCheck();
}

void HeaderReader::writeText(int address, const QString &text)
{
    m_transport.sendCommand(QStringLiteral("d"), HeaderMap::addressText(address),
                            QStringLiteral("#"), text, qint16(HeaderMap::LineBytes));
}

void HeaderReader::advance(double *progress, double step, int maximum)
{
    *progress += step;
    Q_EMIT progressChanged(*progress, maximum);
    // Let the window repaint the bar and port events run, without waiting.
    m_loop.yieldUntil(m_loop.elapsedNs());
}

void HeaderReader::subConfirmSN()
{
    for (;;) {
        const QString reply = m_transport.lineReader().fnReadBinc(HeaderMap::addressText(0x0200));
        if (m_state.commAbort)
            return;
        const QString data = lineData(reply);
        const QString model = data.left(8);
        const QString serial = data.mid(8, 8);
        if (model == m_header.modelVersion && serial == m_header.serialNumber)
            return;
        const int answer = m_dialogs.Message_Box(
            QStringLiteral("Data in memory is for Logger:  Model ") + m_header.modelVersion
                + QStringLiteral(",  Serial No.: ") + m_header.serialNumber + CrLf
                + QStringLiteral("       The connected Logger is:  Model ") + model
                + QStringLiteral(",  Serial No.: ") + serial + CrLf
                + QStringLiteral("ABORT   to return and reload the correct logger information.")
                + QStringLiteral("IGNORE to continue using incorrect logger information."),
            Dialogs::AbortRetryIgnore, QStringLiteral("Confirm Serial Number"));
        if (answer == Dialogs::Retry)
            continue;
        m_state.commAbort = answer != Dialogs::Ignore;
        return;
    }
}
