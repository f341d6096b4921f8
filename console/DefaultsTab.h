#pragma once

#include <QObject>
#include <functional>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class QFileSystemModel;
class StartupSettings;
struct MainWindowState;

// The Defaults tab's fields that take effect, and are saved, the moment they change.
class DefaultsTab : public QObject
{
    Q_OBJECT

public:
    DefaultsTab(Ui::FrmStartup &ui, MainWindowState &state, Dialogs &dialogs,
                StartupSettings &settings);

    // Runs after a real-time position changes, to refresh the current reading.
    void setPositionHook(std::function<void(int)> hook) { m_positionHook = std::move(hook); }

    // Points the drive and folder lists and the folder field at the data folder.
    void showDataFolder(const QString &folder);

    // Where the folder list starts for a data folder: its own drive's root
    // ("D:/" for D:\LoggerData, "//server/share/" for a network share) where
    // paths carry drives, the file system root elsewhere.
    static QString driveRootOf(const QString &folder, bool pathsHaveDrives = PathsHaveDrives);

#ifdef Q_OS_WIN
    static constexpr bool PathsHaveDrives = true;
#else
    static constexpr bool PathsHaveDrives = false;
#endif

    void chkRAW_Click();
    void chkTidy_Click();
    void ChkAutoBaud_Click();
    void Drive1_Change();
    void Dir1_Change();
    void TxtDir_Change();
    void MebLocCode_Change();
    void txtRegChanPosition_Change(int position);
    void txtWaits_GotFocus();
    void txtWaits_LostFocus();

    // Reads WaitPeriod into the start delay field and waitSeconds.
    void loadWaitPeriod();

private:
    Ui::FrmStartup &m_ui;
    MainWindowState &m_state;
    Dialogs &m_dialogs;
    StartupSettings &m_settings;
    QFileSystemModel *m_folders;
    std::function<void(int)> m_positionHook;
};
