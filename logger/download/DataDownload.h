#pragma once

#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/DownloadColumns.h"
#include "logger/download/DownloadFiles.h"
#include "logger/download/DownloadResume.h"
#include "logger/download/ScanRows.h"
#include "logger/download/TidyExport.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class CommandTransport;
class Dialogs;
class EventCapture;
class EventLoop;
class HeaderReader;
class StatusByteCommands;
struct LinkState;
struct LoggerHeader;

// Copies the recorded scans out of the logger's data memory into the
// download files: the checks and preparation, the memory read line by line
// with the scans decoded into rows, the notes, and the download time and
// file name written back to the logger once the download is complete.
class DataDownload : public QObject
{
    Q_OBJECT

public:
    enum class Ending {
        NotStarted,    // refused or answered away before any file was made
        Complete,      // the end of the data was reached
        Cancelled,     // the operator confirmed a cancel request
        Aborted,       // the link gave up (a failed read, a lost logger)
        SyncCancelled, // Cancel at a memory error
        WriteFailed,   // a file could not be written
    };

    // Whether a download that ended early is taken up again: never; offered
    // to the operator; or asked for (the command line's --resume), when a
    // refusal ends the download unless the operator starts afresh.
    enum class ResumeMode { Never, Offer, Require };

    // What the download needs from the windows; empty hooks give defaults.
    struct Hooks
    {
        std::function<ResumeMode()> resumeMode;
        // The setup's channel selection.
        std::function<DownloadColumns()> columns;
        // The data folder and the CSV and RAW options.
        std::function<DownloadFiles::Options()> fileOptions;
        std::function<QString()> locationCode;
        // The main window's status line and event date, for status words.
        std::function<QString()> statusLine;
        // The main window's alert text.
        std::function<QString()> alertText;
        // The operator's download notes (the notes dialog, waited for).
        std::function<QString()> downloadNotes;
        // The factory page's installed-memory value, bytes.
        std::function<quint32()> installedMemory;
        // The time zone the program stamps tests with: hours added to local
        // time to give GMT.
        std::function<int()> timeZoneHours;
    };

    struct Parts
    {
        LoggerHeader &header;
        CommandTransport &transport;
        StatusByteCommands &statusByte;
        EventCapture &capture;
        HeaderReader &headerReader;
        LinkState &state;
        EventLoop &loop;
        Dialogs &dialogs;
    };

    explicit DataDownload(const Parts &parts);
    ~DataDownload() override;

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Builds the header block of the comma-separated file from the header.
    void subParseHdrtoCSV();
    void subReadData();

    Ending ending() const { return m_ending; }
    // Full path without extension of the last download's files.
    QString baseName() const { return m_files.baseName(); }

Q_SIGNALS:
    // The last-download labels show "Processing" while the download runs.
    void processing();
    // The header's download time and file name were written back.
    void downloadRecorded();
    // The pointer labels: the end of the data, decimal and six hex digits.
    void endAddressShown(const QString &decimal, const QString &hex);
    // The data progress bar's range, then each address read and the bytes left.
    void progressRange(qint64 maximum);
    void progressChanged(qint64 value, qint64 remaining);

private:
    struct Run;

    bool prepare(Run &run);
    bool chooseResume(Run &run);
    enum class ResumeChoice { Resume, Fresh, Stop };
    ResumeChoice askResume(const std::optional<DownloadResume::Candidate> &candidate, ResumeMode mode);
    // Why the file's last line does not prove the logger's memory unchanged; empty when it does.
    QString memoryProblem(const DownloadResume::Candidate &candidate);
    void findBatteryChannel(Run &run);
    bool stopLoggingAccepted();
    bool openFiles(Run &run);
    void writeHeadings(Run &run);
    void boundToMemory(Run &run);
    void markEndOfData(const Run &run);
    void readMemory(Run &run);
    bool readLine(const Run &run, qint64 address, QString *line);
    bool confirmCancel();
    void complete(Run &run);
    void closeFiles();
    void writeMetadata(const Run &run);
    void recordDownload(const Run &run);
    bool store(const QString &raw, const QString &csv);
    bool storeLines(const QStringList &lines, bool csv);
    ScanRows::Sink rowSink();
    DownloadColumns columns() const;
    DownloadFiles::Options fileOptions() const;
    quint32 installedMemory() const;
    static QString hook(const std::function<QString()> &f) { return f ? f() : QString(); }

    LoggerHeader &m_header;
    CommandTransport &m_transport;
    StatusByteCommands &m_statusByte;
    EventCapture &m_capture;
    HeaderReader &m_headerReader;
    LinkState &m_state;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
    Hooks m_hooks;
    CsvHeaderBlock m_block;
    DownloadFiles m_files;
    TidyExport m_tidy;
    Ending m_ending = Ending::NotStarted;
};
