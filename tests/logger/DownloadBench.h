#pragma once

#include "tests/support/TransportBench.h"


#include <QDir>
#include <QStringList>
#include <functional>
#include <optional>

#include "tests/logger/RecordedTest.h"

// The program's logger side on the simulated logger holding a recorded
// test, plugged in and read, ready to download into a scratch data folder.
class DownloadBench : public VirtualLoopOwner, public TransportBench
{
public:
    // With the words a scan takes, the event capture finds the scan numbers
    // of the logger's events (the Setup tab tells it that in the program).
    explicit DownloadBench(const LoggerImage &image, int wordsPerScan = 0);

    // Answers the save dialog with this name in the data folder.
    void chooseName(const QString &name) { dialogs.expectFileName(folder() + u'/' + name); }
    // Runs the download as the operator's command does.
    void download();
    // Called with each address the download is about to read.
    void atAddress(std::function<void(qint64 address)> action) { m_atAddress = std::move(action); }

    QString folder() const { return scratch.filePath(QStringLiteral("data")); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    QStringList lines(const QString &fileName) const;
    // The 16 characters of a header line in the logger.
    QString textAt(int address) const;

    DataDownload &downloader;
    DownloadFiles::Options options;

private:
    std::function<void(qint64)> m_atAddress;
};
