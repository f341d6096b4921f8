#include "console/DownloadWiring.h"

#include "console/LoggerStatusView.h"
#include "console/MainWindowState.h"
#include "console/SetupState.h"
#include "console/frmComm.h"
#include "console/frmDownloadNotes.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"

#include <algorithm>

DownloadWiring::DownloadWiring(LoggerConnection &connection, const Windows &windows)
    : QObject(&windows.mainWindow)
    , m_c(connection)
    , m_w(windows)
{
    wireHooks();
    wireDisplays();
}

void DownloadWiring::wireHooks()
{
    Ui::FrmStartup &ui = m_w.ui;
    DataDownload::Hooks hooks;
    hooks.columns = [this] {
        // The setup keeps positions 1-10 at indices 1-10; the columns count from 0.
        std::array<float, DownloadColumns::Count> positions{};
        std::copy_n(m_w.setup.channelSelect.begin() + 1, positions.size(), positions.begin());
        return DownloadColumns::fromSelection(positions, m_w.setup.monitorChannel);
    };
    hooks.fileOptions = [this, &ui] {
        return DownloadFiles::Options{m_w.state.defaultPath, m_w.comm.csvOption(), ui.chkRAW->isChecked(),
                                      ui.chkTidy->isChecked()};
    };
    hooks.locationCode = [&ui] { return ui.MebLocCode->text(); };
    hooks.statusLine = [this, &ui] {
        return ui.LblStatusLine->text() + QStringLiteral(" --- ") + m_w.view.ui().LblRdBattStopDate->text();
    };
    hooks.alertText = [&ui] { return ui.lblRdBattCond->text(); };
    hooks.downloadNotes = [this] { return askDownloadNotes(); };
    hooks.installedMemory = [this] { return installedMemory(); };
    hooks.timeZoneHours = [this] { return int(m_w.state.gmtDelta); };
    hooks.resumeMode = [] { return DataDownload::ResumeMode::Offer; };
    m_c.download.setHooks(std::move(hooks));
}

void DownloadWiring::wireDisplays()
{
    Ui::FrmStartup &ui = m_w.ui;
    DataDownload *download = &m_c.download;
    LoggerStatusView *view = &m_w.view;
    connect(download, &DataDownload::processing, this, [view] {
        Ui::LoggerStatusView &labels = view->ui();
        labels.LblRdDownloadStat->setText(QStringLiteral("Processing"));
        labels.LblRdDownloadTime->clear();
        LoggerStatusView::setBackground(labels.LblRdDownloadStat, LoggerStatusView::Green);
        LoggerStatusView::setBackground(labels.LblRdDownloadTime, LoggerStatusView::Green);
    });
    connect(download, &DataDownload::downloadRecorded, view, &LoggerStatusView::showDownloadState);
    connect(download, &DataDownload::endAddressShown, this, [&ui](const QString &decimal, const QString &hex) {
        ui.lblPointer->setText(decimal);
        ui.lblPointerHex->setText(hex);
    });
    connect(download, &DataDownload::progressRange, this, [&ui](qint64 maximum) {
        ui.ProgressBarData->setRange(0, int(std::clamp<qint64>(maximum, 1, INT_MAX)));
        ui.ProgressBarData->setValue(0);
    });
    connect(download, &DataDownload::progressChanged, this, [&ui](qint64 value, qint64 remaining) {
        ui.ProgressBarData->setValue(int(std::min<qint64>(value, ui.ProgressBarData->maximum())));
        ui.lblBytesRemaining->setText(QString::number(remaining));
    });
}

QString DownloadWiring::askDownloadNotes()
{
    // A new dialog for every download starts empty.
    frmDownloadNotes notes(&m_w.mainWindow);
    m_w.dialogs.runModal(&notes);
    return notes.notes();
}

quint32 DownloadWiring::installedMemory() const
{
    bool ok = false;
    const uint bytes = m_c.initializer.factory().memoryInstalledHex.trimmed().toUInt(&ok, 16);
    return ok ? quint32(bytes) : m_c.header.memoryInstalled;
}
