#pragma once

#include "logger/download/FixedOffsetTime.h"
#include "logger/download/ScanRows.h"
#include "logger/download/TidyColumn.h"

#include <QFile>
#include <QList>
#include <QStringList>
#include <memory>

class Dialogs;

// The tidy file (one header line, one row per scan: number, time with the
// logger's offset from UTC, then count, engineering value and clip flag of
// each active column) and its events table (status events and memory
// errors). Like the comma-separated file they are created under working
// names (base + "_Aborted"), never over an existing file, flushed line by
// line, and take their final names only when the download completes. A
// failure is told once; the files stop there and keep their working names,
// and the download goes on without them.
class TidyFiles
{
public:
    static const QString TidyExtension;
    static const QString EventsExtension;

    explicit TidyFiles(Dialogs &dialogs);
    ~TidyFiles();

    // Creates both working files and writes their header lines.
    bool open(const QString &base, const QList<TidyColumn> &columns, const FixedOffsetTime &clock);
    void addScan(const ScanRows::ScanRecord &scan);
    void addEvent(const ScanRows::EventRecord &event);
    void close();
    // Gives the closed files their final names, unless a write failed.
    bool renameToFinal();

    bool isOpen() const { return m_tidy != nullptr; }
    bool failed() const { return m_failed; }
    // The files made, under the names they have now.
    QStringList paths() const;

private:
    bool create(std::unique_ptr<QFile> &file, const QString &extension);
    void write(QFile *file, const QString &text);
    void fail(const QFile &file);
    QString headerLine() const;

    Dialogs &m_dialogs;
    std::unique_ptr<QFile> m_tidy;
    std::unique_ptr<QFile> m_events;
    QList<TidyColumn> m_columns;
    std::unique_ptr<FixedOffsetTime> m_clock;
    QString m_base;
    bool m_final = false;
    bool m_failed = false;
};
