#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class CommandTransport;
class Dialogs;
class EventLoop;
struct LinkState;
struct LoggerHeader;

// Reads the connected logger's header memory into the LoggerHeader: identity,
// model-series check, test lines, channel blocks and notes, with the repairs
// of the calibration due date and of the download-file line. The read fills
// a copy and puts it in place only when it completes, so a read that fails
// part-way leaves the header as it was.
class HeaderReader : public QObject
{
    Q_OBJECT

public:
    // How often the download-file line 0560 is blanked and read again before
    // the read counts as failed: a logger that stopped answering gives up
    // after this many rounds.
    static constexpr int DownloadFileRepairs = 2;
    static constexpr QChar SeriesLetter = u'Z';
    static constexpr int CurrentSeriesDigit = 5;

    // What the read needs from the rest of the program. Empty hooks do nothing.
    struct Hooks
    {
        // Ends the program (after the older-series message).
        std::function<void()> endProgram;
        // The link's automatic baud switch: 115200 when the port runs at 9600
        // and the auto-baud box is ticked.
        std::function<void()> autoBaudSwitch;
        // The factory page's VBat limit, volts.
        std::function<double()> batteryLimitSetting;
        // Builds the download file's header block from the header just read.
        std::function<void()> subParseHdrtoCSV;
        // Refreshes the logger status view.
        std::function<void()> subLoggerPresent;
        // The link's connection check, run again after a failed read.
        std::function<void()> connectionCheck;
    };

    // The battery limit L, kept twice, and L + 15 %; the download uses them.
    struct BatteryLimits
    {
        double limit = 0.0;
        double limitCopy = 0.0;
        double upper = 0.0;
    };

    HeaderReader(LoggerHeader &header, CommandTransport &transport, LinkState &state,
                 EventLoop &loop, Dialogs &dialogs);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Reads the whole header; header.headerValid tells whether it succeeded.
    void subReadHeader();
    // Reads page 0E into header.notes and shows it.
    void subReadHeaderNotes();
    // Confirms that the connected logger is the one whose header is held;
    // leaves commAbort set when the calling command must stop.
    void subConfirmSN();

    const BatteryLimits &batteryLimits() const { return m_batteryLimits; }

Q_SIGNALS:
    // The main window's message line.
    void messageLine(const QString &text);
    void dataLoggerTabSelected();
    // The header progress bar: value of maximum; 0 when reset.
    void progressChanged(double value, int maximum);
    void monitorFrameEnabled();
    // The header-notes field.
    void headerNotesShown(const QString &text);
    // The eight active-channel labels, "1:" + location ...
    void channelLabelsChanged(const QStringList &labels);

private:
    class Pass;

    bool readLine(Pass &pass, int address, QString *data);
    bool readIdentity(Pass &pass);
    bool seriesCheck(Pass &pass);
    bool readTestLines(Pass &pass);
    bool readDownloadFile(Pass &pass);
    bool readChannel(Pass &pass, int index);
    bool repairCalDue(int address, const QString &data);
    void readNotes(LoggerHeader &target, double *progress, int maximum);
    void finish(Pass &pass);
    void fail(const Pass &pass);
    void writeText(int address, const QString &text);
    void advance(double *progress, double step, int maximum);

    LoggerHeader &m_header;
    CommandTransport &m_transport;
    LinkState &m_state;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
    Hooks m_hooks;
    BatteryLimits m_batteryLimits;
};
