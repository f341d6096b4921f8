#pragma once

#include <QObject>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class LoggerConnection;
class LoggerStatusView;
class QWidget;
class frmComm;
struct MainWindowState;
struct SetupState;

// What the download takes from the windows (the channel selection, the data
// folder and file options, the status and alert texts, the operator's
// notes, the factory memory value, the time zone) and what it shows on
// them: the last-download labels and the data progress.
class DownloadWiring : public QObject
{
    Q_OBJECT

public:
    struct Windows
    {
        QWidget &mainWindow;
        Ui::FrmStartup &ui;
        frmComm &comm;
        LoggerStatusView &view;
        SetupState &setup;
        MainWindowState &state;
        Dialogs &dialogs;
    };

    DownloadWiring(LoggerConnection &connection, const Windows &windows);

    // Shows the notes dialog, cleared, and waits for the operator's notes.
    QString askDownloadNotes();
    // The factory page's installed memory in bytes; the header's value when
    // that field holds no hexadecimal number.
    quint32 installedMemory() const;

private:
    void wireHooks();
    void wireDisplays();

    LoggerConnection &m_c;
    Windows m_w;
};
