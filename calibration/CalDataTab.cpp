#include "calibration/CalDataTab.h"

#include "calibration/AllChannelsWriter.h"
#include "calibration/CalDataGrid.h"
#include "calibration/ChannelBlockWriter.h"
#include "console/AccessControl.h"
#include "console/MainTab.h"
#include "console/MainWindowState.h"
#include "link/LoggerBusy.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {

const QString Cr = QStringLiteral("\r");
const QString CrLf = QStringLiteral("\r\n");

} // namespace

CalDataTab::CalDataTab(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
    Controls &ui = m_p.ui;
    connect(&ui.grid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { MFGCal_DblClick(row); });
    connect(&ui.perfCal, &QAbstractButton::clicked, this, &CalDataTab::CmdPerfCal_Click);
    connect(&ui.saveToLogger, &QAbstractButton::clicked, this, &CalDataTab::cmdSaveToLogger_Click);
    // The grid's corner button selects every cell.
    for (QAbstractButton *corner : ui.grid.findChildren<QAbstractButton *>())
        corner->setAccessibleName(QStringLiteral("Select all"));
    // Without the calibration window there is nothing to perform.
    ui.perfCal.setEnabled(false);
    showChannelProgress(false);
    CalDataGrid::fill(ui.grid, m_p.connection.header);
}

void CalDataTab::setCalWindow(CalWindowHooks hooks)
{
    m_calWindow = std::move(hooks);
    m_p.ui.perfCal.setEnabled(m_calWindow.present());
}

void CalDataTab::tabSelected()
{
    CalDataGrid::highlight(m_p.ui.grid, m_p.state.calGridRow, false);
    subShowCalData();
}

void CalDataTab::subShowCalData()
{
    m_p.dialogs.setBusy(true);
    CalDataGrid::fill(m_p.ui.grid, m_p.connection.header);
    m_p.dialogs.setBusy(false);
    if (!m_p.connection.state.loggerConnected)
        m_p.ui.tabs.setCurrentIndex(MainTab::DataLogger);
}

// The serial-number confirmation every calibration command runs first.
bool CalDataTab::confirmedLogger()
{
    bool confirmed = false;
    return LoggerBusy::runCommand(m_p.connection.link.sequences(), m_p.dialogs,
                                [this, &confirmed] { confirmed = m_p.connection.confirmedLogger(); })
        && confirmed;
}

void CalDataTab::MFGCal_DblClick(int row)
{
    if (!confirmedLogger())
        return;
    if (row < 1 || row > CalDataGrid::LastChannelRow)
        return;
    QTableWidget &grid = m_p.ui.grid;
    CalDataGrid::highlight(grid, m_p.state.calGridRow, false);
    CalDataGrid::highlight(grid, row, true);
    m_p.state.calGridRow = qint16(row);
    grid.setCurrentCell(row, 0);
    grid.viewport()->update();
    if (!m_calWindow.present())
        return;
    m_calWindow.setChannelBox(QString::number(row));
    CmdPerfCal_Click();
}

void CalDataTab::CmdPerfCal_Click()
{
    if (!confirmedLogger())
        return;
    if (!m_p.state.passwordOK) {
        // Accepted now: the command starts again from the confirmation.
        if (m_p.access.askCalibrationPassword())
            CmdPerfCal_Click();
        return;
    }
    if (m_p.connection.statusByte.loggingActive() && !stopLoggingAccepted())
        return;
    if (m_calWindow.present())
        m_calWindow.showModal();
}

// Calibrating a logging logger would mix two calibrations in one test: the
// operator stops it first, or nothing happens.
bool CalDataTab::stopLoggingAccepted()
{
    const int answer = m_p.dialogs.Message_Box(
        QStringLiteral("Logging is enabled.") + CrLf + QStringLiteral("Logging must be turned off before continuing.")
            + Cr + QStringLiteral("You must re-initialize the logger to continue logging!") + Cr
            + QStringLiteral("Download data if necessary!") + CrLf + CrLf
            + QStringLiteral("Do you want to turn off logging now?"),
        Dialogs::OkCancel, QStringLiteral("Stop Logging?"));
    if (answer == Dialogs::Cancel)
        return false;
    m_p.dialogs.beep();
    if (m_p.dialogs.Message_Box(QStringLiteral("Do you really want to stop the logger?"),
                                int(Dialogs::YesNo) | Dialogs::Question | Dialogs::DefaultButton2,
                                QStringLiteral("Stop for Calibration?"))
        != Dialogs::Yes)
        return false;
    bool stopped = false;
    LoggerBusy::runCommand(m_p.connection.link.sequences(), m_p.dialogs, [this, &stopped] {
        m_p.connection.statusByte.subDisableLogging();
        stopped = !m_p.connection.state.commAbort;
        // The decoded state follows the logger, for the calibration window's checks.
        if (stopped)
            m_p.connection.statusByte.subSBRead();
    });
    return stopped;
}

void CalDataTab::cmdSaveToLogger_Click()
{
    if (!m_p.state.passwordOK) {
        if (m_p.access.askCalibrationPassword())
            cmdSaveToLogger_Click();
        return;
    }
    if (m_p.dialogs.Message_Box(QStringLiteral("Are you sure you want to write to the logger?"),
                                int(Dialogs::YesNo) | Dialogs::Question, QStringLiteral("Write All Data"))
        != Dialogs::Yes)
        return;
    LoggerBusy::runCommand(m_p.connection.link.sequences(), m_p.dialogs, [this] { saveAllChannels(); });
}

void CalDataTab::saveAllChannels()
{
    LoggerConnection &connection = m_p.connection;
    // Every line is made before the first is sent: a value that cannot be
    // written leaves the logger as it was.
    const auto plan = AllChannelsWriter::compose(connection.header, m_p.loop.now().date());
    if (!plan) {
        ChannelBlockWriter::showUnwritableValues(m_p.dialogs);
        return;
    }
    showChannelProgress(true);
    m_p.dialogs.setBusy(true);
    Controls &ui = m_p.ui;
    AllChannelsWriter writer(connection.transport, connection.state);
    const AllChannelsWriter::Result result = writer.write(
        connection.header, *plan,
        {[&ui](int index) {
             ui.chanNum.setText(QStringLiteral("Ch") + QString::number(index + 1) + QStringLiteral(":"));
             ui.progress.setValue(0);
         },
         [&ui](int value) { ui.progress.setValue(value); }});
    m_p.dialogs.setBusy(false);
    // The channels written whole are in the logger, whatever happened next.
    appendToLog(result.written);
    if (result.failedAddress) {
        ChannelBlockWriter::showFailedLine(m_p.dialogs, connection.state, *result.failedAddress);
        return;
    }
    connection.headerReader.subReadHeader();
    showChannelProgress(false);
    subShowCalData();
}

void CalDataTab::appendToLog(const QList<CalibrationLog::Entry> &entries)
{
    QString error;
    if (CalibrationLog::append(m_p.state.defaultPath, m_p.connection.header.serialNumber, entries,
                               m_p.loop.now(), &error))
        return;
    m_p.dialogs.Message_Box(
        QStringLiteral("The calibration was written to the logger, but it could not be added to the "
                       "calibration log ")
            + CalibrationLog::fileName() + QStringLiteral(":") + Cr + error,
        int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Calibration Log"));
}

void CalDataTab::showChannelProgress(bool shown)
{
    m_p.ui.chanNum.setVisible(shown);
    m_p.ui.progress.setVisible(shown);
}
