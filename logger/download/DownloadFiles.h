#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>

class Dialogs;

// The download's files: the comma-separated file for a spreadsheet and the
// RAW file that keeps every line as read. They are written under working
// names (base + "_Aborted") and take their final names only when the
// download completes, so a file under a final name is always whole. Every
// line is flushed as it is stored: a crash or a power cut loses at most the
// line being written.
class DownloadFiles
{
public:
    struct Options
    {
        QString folder;
        bool csv = true;
        bool raw = false;
        // The tidy file, its events table and the metadata beside them.
        bool tidy = true;
        // Keep a working RAW file even without the RAW option, so a download
        // that ends early can be resumed from it; it is removed when the
        // download completes.
        bool rawForResume = false;
    };

    static const QString DialogTitle;
    static const QString DialogFilter;
    static const QString ExistsMessage;
    static const QString AbortedSuffix;

    explicit DownloadFiles(Dialogs &dialogs);
    ~DownloadFiles();

    // Proposes "<serial>-yyyymmdd-hhmmss " (with a counter from 002 while
    // files of that name exist), lets the operator choose, refuses every
    // name already used, and creates the wanted working files. False when
    // the operator cancelled or a file could not be created (the box says
    // which).
    bool subOpenFile(const QString &serialNumber, const QDateTime &now, const Options &options);
    // The same at a base the program chose; refuses a base already in use.
    bool openAt(const QString &base, const Options &options);
    // Writes each non-empty text, followed by a line end, to its file when
    // that file is open. False once a write failed; the failure is told once.
    bool subStoreLine(const QString &rawText, const QString &csvText);
    enum class Target { Raw, Csv };
    // Every line, empty ones too, each followed by a line end.
    bool storeLines(Target target, const QStringList &lines);
    void subCloseFiles();
    // Gives the closed working files their final names. False (after the
    // box) when one of them is no longer there to be renamed: its folder was
    // removed or the file deleted while it was written, and the data with it.
    bool renameToFinal();

    // Lines the comma-separated file holds so far (counted also when that
    // file is not written, so the formulas keep their rows).
    int csvLines() const { return m_csvLines; }
    // Full path without extension.
    QString baseName() const { return m_base; }
    bool failed() const { return m_failed; }

    // The box that tells which file of a download could not be written.
    static void tellWriteFailed(Dialogs &dialogs, const QFile &file);

    // The base proposed for a serial number at a time, before the counter.
    static QString proposedBase(const QString &serialNumber, const QDateTime &now);
    // True when a file of that base with any extension, or a working file
    // of it, exists.
    static bool baseInUse(const QString &base);

private:
    QString chooseBase(const QString &proposed, const QString &folder);
    bool createFiles(const Options &options);
    bool create(std::unique_ptr<QFile> &file, const QString &extension);
    bool write(QFile *file, const QString &text);
    void writeFailed(const QFile &file);

    Dialogs &m_dialogs;
    std::unique_ptr<QFile> m_csv;
    std::unique_ptr<QFile> m_raw;
    QString m_base;
    bool m_rawWanted = false;
    // The extensions of the working files this download created.
    QStringList m_created;
    int m_csvLines = 0;
    bool m_failed = false;
};
