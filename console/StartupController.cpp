#include "console/StartupController.h"

#include "console/ClockDisplay.h"
#include "console/DefaultsTab.h"
#include "console/MainWindowState.h"
#include "console/SetupRules.h"
#include "console/MainTab.h"
#include "console/SetupState.h"
#include "console/frmComm.h"
#include "link/SerialLink.h"
#include "platform/Dialogs.h"
#include "platform/PortNames.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

#include <QDir>

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

StartupController::StartupController(const Parts &parts)
    : m_p(parts)
{
    QRadioButton *options[] = {m_p.ui.OptComm1, m_p.ui.OptComm2, m_p.ui.OptComm3, m_p.ui.OptComm4};
    for (int i = 0; i < 4; ++i)
        connect(options[i], &QRadioButton::clicked, this, [this, i] { OptComm_Click(i + 1); });
    connect(m_p.ui.CmdLogOn, &QPushButton::clicked, this, &StartupController::CmdLogOn_Click);
}

QString StartupController::startupMessage()
{
    return QStringLiteral("The correct working Comm Port MUST be selected in the DEFAULTS tab before proceeding!")
        + CrLf
        + QStringLiteral("Also, Be sure to set the correct path to the data file storage folder, or errors will occur during downloads.")
        + CrLf + CrLf + QStringLiteral("After setting all of the defaults, then select the LOG-ON tab and")
        + CrLf
        + QStringLiteral("exit the program to complete the installation with the correct Registry settings.")
        + CrLf + CrLf + QStringLiteral("Read the README.TXT file for more details.");
}

void StartupController::enableTabs(std::initializer_list<int> tabs, bool enabled)
{
    for (int tab : tabs)
        m_p.ui.SSTab1->setTabEnabled(tab, enabled);
}

void StartupController::Form_Load()
{
    m_p.ui.centralwidget->window()->setWindowTitle(
        QStringLiteral("KORVAN Data Logger Software - Z8-v7.7.0"));
    m_p.comm.applyStopBit2Delay();
    GetRegistrySettings();
    checkDataFolder();
    {
        // Showing the folder is not the operator changing it: a stored folder
        // on a drive that is missing today stays stored.
        const QSignalBlocker quiet(m_p.ui.TxtDir);
        m_p.defaults.showDataFolder(m_p.state.defaultPath);
    }
    {
        const QSignalBlocker quiet(m_p.ui.MebLocCode);
        m_p.ui.MebLocCode->setText(m_p.state.locCode);
    }

    for (int tab = 0; tab < m_p.ui.SSTab1->count(); ++tab)
        m_p.ui.SSTab1->setTabEnabled(tab, tab == MainTab::LogOn || tab == MainTab::Defaults);

    if (m_p.state.commPortNum != 0 || m_p.demoMode) {
        m_p.ui.SSTab1->setCurrentIndex(MainTab::LogOn);
        m_p.state.portSelectInProgress = true;
        selectPortOption(m_p.state.commPortNum);
    } else {
        enableTabs({MainTab::Defaults}, true);
        m_p.ui.SSTab1->setCurrentIndex(MainTab::Defaults);
        m_p.dialogs.Message_Box(startupMessage(), int(Dialogs::OkOnly) | Dialogs::Exclamation,
                                QStringLiteral("Startup"));
    }

    m_p.clocks.start();
    m_p.ui.OptUseLast->setEnabled(false);
    m_p.ui.OptUseLast->setChecked(false);
    m_p.ui.cmdSetDates->setEnabled(false);

    if (m_p.state.loggerBaud.contains(QStringLiteral("4800"))) {
        m_p.state.loggerBaud = QStringLiteral("9600,N,8,1");
        m_p.comm.selectBaud9600Quietly();
    }
    m_p.defaults.loadWaitPeriod();
    m_p.setupRules.lblActChClick(1);
}

void StartupController::GetRegistrySettings()
{
    StartupSettings &s = m_p.settings;
    m_p.ui.chkRAW->setChecked(s.getInt(QStringLiteral("chkRAW"), 0, 0, 1) == 1);
    m_p.ui.chkTidy->setChecked(s.getInt(QStringLiteral("TidyExport"), 1, 0, 1) == 1);
    // The CSV file is always offered: a stored chkCSV is not consulted.
    m_p.comm.setCsvOption(true);
    m_p.ui.ChkAutoBaud->setChecked(s.getInt(QStringLiteral("chkAutoBaud"), 1, 0, 1) == 1);
    m_p.state.commPortNum = qint16(s.getInt(QStringLiteral("CommPortNum"), 0, 0, 32767));
    m_p.state.loggerBaud = s.get(QStringLiteral("Logger_Baud"), QStringLiteral("9600,N,8,1"));
    m_p.state.defaultPath = s.get(QStringLiteral("DefaultPath"), m_p.defaultDataFolder);
    m_p.state.gmtDelta = qint16(s.getInt(QStringLiteral("GMTDelta"), 0, -24, 24));
    m_p.state.locCode = s.get(QStringLiteral("LocCode"), QStringLiteral("A"));
    QLineEdit *positions[] = {m_p.ui.txtRegChanPosition1, m_p.ui.txtRegChanPosition2,
                              m_p.ui.txtRegChanPosition3, m_p.ui.txtRegChanPosition4};
    for (int i = 0; i < 4; ++i) {
        positions[i]->setText(
            s.get(QStringLiteral("RTposition%1").arg(i + 1), QString::number(i + 1)));
    }
    m_p.state.passwordAdmin = s.get(QStringLiteral("PasswordAdmin"), QStringLiteral("Overseerentry"));
    for (int i = 0; i < 4; ++i) {
        m_p.state.passwordOrgan[i] = s.get(QStringLiteral("PasswordOrgan%1").arg(i + 1), QString());
        m_p.state.passwordDepot[i] = s.get(QStringLiteral("PasswordDepot%1").arg(i + 1), QString());
    }
}

void StartupController::checkDataFolder()
{
    if (!m_p.state.defaultPath.isEmpty() && QDir(m_p.state.defaultPath).exists())
        return;
    const QString fallback = m_p.defaultDataFolder;
    const QString shown = QDir::toNativeSeparators(fallback);
    m_p.state.defaultPath = fallback;
    if (!QDir().mkpath(fallback)) {
        // Claiming a folder that is not there would only move the failure to
        // the first download.
        m_p.dialogs.Message_Box(
            QStringLiteral("The default data file path is invalid.") + CrLf
                + QStringLiteral("The data file folder '%1' could not be created.").arg(shown) + CrLf
                + QStringLiteral("Choose a data folder on the DEFAULTS tab before downloading."),
            int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Default Data Folder"));
        return;
    }
    m_p.dialogs.Message_Box(
        QStringLiteral("The default data file path is invalid.") + CrLf
            + QStringLiteral("A data file folder has been created as '%1'.").arg(shown)
            + CrLf + QStringLiteral("See the manual for more information."),
        Dialogs::OkOnly, QStringLiteral("Default Data Folder"));
}

void StartupController::selectPortOption(int port)
{
    QRadioButton *options[] = {m_p.ui.OptComm1, m_p.ui.OptComm2, m_p.ui.OptComm3, m_p.ui.OptComm4};
    if (port < 1 || port > 4) {
        // No option runs its handler, so the next CheckCommPort must act for real.
        m_p.state.portSelectInProgress = false;
        for (QRadioButton *option : options) {
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        }
        return;
    }
    options[port - 1]->setChecked(true);
    OptComm_Click(port);
}

void StartupController::OptComm_Click(int port)
{
    m_p.state.commPortNum = qint16(port);
    CheckCommPort();
}

void StartupController::CmdLogOn_Click()
{
    m_p.state.loggedOn = true;
    enableTabs({MainTab::LogOn, MainTab::Waiting, MainTab::DataLogger, MainTab::Setup, MainTab::CalData, MainTab::Defaults, MainTab::RealTime},
               true);
    enableTabs({MainTab::Passwords}, false);
    enableTabs({MainTab::About, MainTab::Help}, true);
    m_p.ui.SSTab1->setCurrentIndex(MainTab::Waiting);
    SubInitial_values();
    m_p.ui.CmdLogOn->hide();
    m_p.ui.SSTab1->setTabText(MainTab::LogOn, QStringLiteral("&Log-Off"));
    CheckCommPort();
    m_p.ui.SSTab1->setCurrentIndex(MainTab::DataLogger);
    m_p.ui.LblTimeMess->hide();
    m_p.ui.LblMessage->hide();
    m_p.ui.cmdLgrStatus->setEnabled(true);
}

void StartupController::SubInitial_values()
{
    m_p.setup.memorySize = 32534;
    m_p.setup.bytesPerReading = 2;
    restoreScanPeriod();
    m_p.ui.TxtProjIdent->setText(m_p.setup.projectIdent);
    m_p.ui.LblMessage3->setText(m_p.link.state().loggerConnected
                                    ? QStringLiteral("Please wait, downloading header information")
                                    : QStringLiteral("Waiting for Data Logger to be connected"));
}

void StartupController::restoreScanPeriod()
{
    const QString period = m_p.settings.get(QStringLiteral("ScanPeriod"), QStringLiteral("60"));
    m_p.ui.TxtScanPeriod->setText(period);
    double value = 0;
    m_p.setup.scanPeriodValue = StartupSettings::parseNumber(period, &value) ? value : 0;
    const QString unit = m_p.settings.get(QStringLiteral("ScanPeriodUnit"), QStringLiteral("Min"));
    QRadioButton *option = unit == QStringLiteral("Hrs")   ? m_p.ui.OptHrs
                           : unit == QStringLiteral("Sec") ? m_p.ui.OptSecs
                                                           : m_p.ui.OptMins;
    option->setChecked(true);
    option->click();
}

void StartupController::CheckCommPort()
{
    if (m_p.state.portSelectInProgress) {
        m_p.state.portSelectInProgress = false;
        return;
    }
    if (m_p.state.commPortNum < 1 || m_p.state.commPortNum > 4)
        m_p.state.commPortNum = 1;
    m_p.settings.save(QStringLiteral("CommPortNum"), QString::number(m_p.state.commPortNum));
    m_p.link.subCommConnect();
    if (!m_p.link.state().portUnavailable) {
        m_p.ui.SSTab1->setCurrentIndex(MainTab::LogOn);
        return;
    }
    reportPortUnavailable();
    m_p.link.state().portUnavailable = false;
    enableTabs({MainTab::Defaults}, true);
    m_p.ui.SSTab1->setCurrentIndex(MainTab::Defaults);
}

QString StartupController::triedDevice() const
{
    if (!m_p.portDevice.isEmpty())
        return QStringLiteral("%1 (from --port)").arg(m_p.portDevice);
    const int port = m_p.state.commPortNum;
    const QString device = PortNames::deviceForPort(port);
    const QString com = QStringLiteral("Com %1").arg(port);
    // On Windows the device is the port's own name; no need to say it twice.
    if (QString(device).remove(u' ').compare(QString(com).remove(u' '), Qt::CaseInsensitive) == 0)
        return com;
    return QStringLiteral("%1 (%2)").arg(com, device);
}

void StartupController::reportPortUnavailable()
{
    // The device and the system's reason are what a technician needs to put
    // it right: another adapter, a group membership, a program to close.
    const QString reason = m_p.link.port().openErrorText();
    m_p.dialogs.Message_Box(QStringLiteral("The Default Comm Port--%1 is not available.").arg(triedDevice())
                                + CrLf + QStringLiteral("Please select a different Default Comm Port")
                                + CrLf + QStringLiteral("then exit the program and start it again.")
                                + (reason.isEmpty() ? QString() : CrLf + CrLf + reason),
                            Dialogs::OkOnly, QStringLiteral("Set Default Comm Port"));
}
