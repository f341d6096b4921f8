#include "console/DownloadCommand.h"

#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/frmComm.h"
#include "link/LoggerBusy.h"
#include "logger/LoggerConnection.h"
#include "logger/download/DownloadChecks.h"
#include "platform/Dialogs.h"
#include "ui_FrmStartup.h"

namespace {

const QString Cr = QStringLiteral("\r");
const QColor CancelRed(255, 0, 0);

} // namespace

DownloadCommand::DownloadCommand(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
    Ui::FrmStartup &ui = m_p.ui;
    connect(ui.CmdDownload, &QPushButton::clicked, this, &DownloadCommand::CmdDownload_Click);
    connect(ui.CmdDwnLoadData, &QPushButton::clicked, this, &DownloadCommand::CmdDwnLoadData_Click);
    connect(ui.cmdCancelDownload, &QPushButton::clicked, this, &DownloadCommand::cmdCancelDownload_Click);
    // Native styles draw buttons without the palette; a style sheet colours
    // the button on every platform.
    QPalette red = ui.cmdCancelDownload->palette();
    red.setColor(QPalette::Button, CancelRed);
    ui.cmdCancelDownload->setPalette(red);
    ui.cmdCancelDownload->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; }")
                                            .arg(CancelRed.name()));
    ui.cmdCancelDownload->hide();
    offerSetupDownload(ui, false);
}

void DownloadCommand::showNoLoggerConnected(Dialogs &dialogs)
{
    dialogs.Message_Box(QStringLiteral("There are no loggers detected.") + Cr + Cr
                            + QStringLiteral("You are unable to continue downloading.") + Cr + Cr
                            + QStringLiteral("Connect a logger then try again."),
                        Dialogs::OkOnly, QStringLiteral("No Logger Connected"));
}

void DownloadCommand::offerSetupDownload(Ui::FrmStartup &ui, bool offered)
{
    ui.CmdDwnLoadData->setVisible(offered);
    ui.CmdDwnLoadData->setEnabled(offered);
    if (!offered) {
        ui.CmdInitialize->show();
        ui.CmdInitialize->setEnabled(true);
    }
}

void DownloadCommand::CmdDownload_Click()
{
    if (loggerReady())
        runAsCommand([this] { downloadFlow(); });
}

bool DownloadCommand::loggerReady()
{
    if (!m_p.connection.state.loggerConnected) {
        showNoLoggerConnected(m_p.dialogs);
        return false;
    }
    if (m_p.connection.link.sequences().isRunning()) {
        LoggerBusy::show(m_p.dialogs);
        return false;
    }
    if (m_p.connection.header.headerValid)
        return true;
    // Without a whole header neither the logger's identity nor the layout
    // of its data is known.
    m_p.dialogs.Message_Box(QStringLiteral("The logger's header has not been read completely.") + Cr
                                + QStringLiteral("Press Reload/Reset to read it again, then download."),
                            int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Header Not Read"));
    return false;
}

void DownloadCommand::CmdDwnLoadData_Click()
{
    bool confirmed = false;
    if (!runAsCommand([this, &confirmed] { confirmed = m_p.connection.confirmedLogger(); }) || !confirmed)
        return;
    CmdDownload_Click();
    m_p.ui.SSTab1->setCurrentIndex(MainTab::DataLogger);
    m_p.ui.SSTab1->setEnabled(true);
    offerSetupDownload(m_p.ui, false);
}

void DownloadCommand::cmdCancelDownload_Click()
{
    // The download asks the operator to confirm after the line it is reading.
    m_p.connection.state.cancelDownload = true;
}

bool DownloadCommand::runAsCommand(const std::function<void()> &command)
{
    return LoggerBusy::runCommand(m_p.connection.link.sequences(), m_p.dialogs, command);
}

void DownloadCommand::downloadFlow()
{
    if (!m_p.connection.confirmedLogger())
        return;
    Dialogs &dialogs = m_p.dialogs;
    const LoggerHeader &header = m_p.connection.header;
    if ((!m_p.comm.csvOption() && !DownloadChecks::acceptCsvWarning(dialogs))
        || !DownloadChecks::acceptHeaderVersion(dialogs, header)
        || !DownloadChecks::acceptPreviousDownload(dialogs, header)
        || !DownloadChecks::acknowledgeDownload(dialogs))
        return;
    lockWindow();
    m_p.connection.download.subReadData();
    restoreWindow();
}

// Only Cancel Download, outside the tabs, stays in reach while the scans are read.
void DownloadCommand::lockWindow()
{
    Ui::FrmStartup &ui = m_p.ui;
    ui.SSTab1->setCurrentIndex(MainTab::DataLogger);
    ui.SSTab1->setEnabled(false);
    ui.cmdLgrStatus->setEnabled(false);
    m_p.connection.state.cancelDownload = false;
    ui.cmdCancelDownload->show();
}

void DownloadCommand::restoreWindow()
{
    Ui::FrmStartup &ui = m_p.ui;
    ui.SSTab1->setEnabled(true);
    ui.cmdLgrStatus->setEnabled(true);
    offerSetupDownload(ui, false);
    ui.cmdCancelDownload->hide();
    m_p.connection.state.cancelDownload = false;
    // "Processing" must not outlive a download that was not recorded: the
    // labels show what the logger's header holds now.
    m_p.view.showDownloadState();
}
