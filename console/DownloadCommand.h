#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class LoggerConnection;
class LoggerStatusView;
class frmComm;

// "Download" on the Data Logger tab and on the Setup tab: the checks and
// warnings before a download, the window locked while the scans are read
// with only Cancel Download offered, and the window put back however the
// download ended.
class DownloadCommand : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        frmComm &comm;
        LoggerStatusView &view;
        LoggerConnection &connection;
        Dialogs &dialogs;
    };

    explicit DownloadCommand(const Parts &parts, QObject *parent = nullptr);

    void CmdDownload_Click();
    void CmdDwnLoadData_Click();
    void cmdCancelDownload_Click();

    // The box a command shows when it finds no logger on the cable.
    static void showNoLoggerConnected(Dialogs &dialogs);
    // The Setup tab's own Download button, offered or put away; Initialize
    // is shown and enabled with it put away.
    static void offerSetupDownload(Ui::FrmStartup &ui, bool offered);

private:
    // A logger connected, its header read, and nothing else talking to it.
    bool loggerReady();
    bool runAsCommand(const std::function<void()> &command);
    void downloadFlow();
    void lockWindow();
    void restoreWindow();

    Parts m_p;
};
