#pragma once

#include "logger/download/DownloadTableReader.h"

#include <QObject>
#include <functional>

class DataViewer;
class Dialogs;
class QWidget;

// "Open Download...": asks for a download's file in the data folder, reads
// it and shows it in a viewer window of its own (one per file opened, so
// downloads can be set side by side). A file that cannot be read is
// refused in a box that says why.
class OpenDownloadCommand : public QObject
{
    Q_OBJECT

public:
    OpenDownloadCommand(QWidget &window, Dialogs &dialogs, std::function<QString()> dataFolder);

    // RAW files are offered and opened once this can rebuild them.
    void setRawRebuild(DownloadTableReader::RawRebuild rebuild) { m_reader.setRawRebuild(std::move(rebuild)); }

    void run();
    // Opens a file without asking; the viewer, or null when refused.
    DataViewer *open(const QString &path);

private:
    QWidget &m_window;
    Dialogs &m_dialogs;
    std::function<QString()> m_dataFolder;
    DownloadTableReader m_reader;
};
