#include "console/ConnectionWiring.h"

#include "console/IndicatorPainter.h"
#include "logger/LoggerConnection.h"
#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/ScanPeriodRules.h"
#include "console/SetupRules.h"
#include "console/SetupState.h"
#include "console/StartupController.h"
#include "console/FactoryPage.h"
#include "console/frmComm.h"
#include "console/frmDebugPrint.h"
#include "link/LineReader.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"
#include "ui_frmComm.h"

#include <QCoreApplication>

namespace {

// "Rxd:" grows with each character; keep the label to a screenful.
constexpr int RxdKeep = 400;

} // namespace

ConnectionWiring::ConnectionWiring(LoggerConnection &connection, const Windows &windows)
    : QObject(&windows.comm)
    , m_c(connection)
    , m_w(windows)
{
    wireIndicators();
    wireTraffic();
    wireConnectionEvents();
    wireDebugSwitches();
    wireStatusByte();
    wireHeaderRead();
    wireCapture();
    wireButtons();
}

void ConnectionWiring::wireIndicators()
{
    using IndicatorPainter::paint;
    Ui::FrmStartup &ui = m_w.ui;
    Ui::frmComm &comm = m_w.comm.ui();
    SerialLink *link = &m_c.link;
    const auto showComStatus = [&ui](const QString &text, IndicatorColour c) {
        ui.lblComStatus->setText(text);
        paint(ui.lblComStatus, c);
    };
    connect(link, &SerialLink::comStatusIndicator, this, showComStatus);
    connect(&link->baud(), &BaudSwitch::comStatusIndicator, this, showComStatus);
    connect(link, &SerialLink::commPortIndicator, this, [&comm](const QString &text, IndicatorColour c) {
        comm.lblCommPort->setText(text);
        paint(comm.lblCommPort, c);
    });
    connect(link, &SerialLink::ctsIndicator, this, [&ui, &comm](IndicatorColour c) {
        paint(ui.lblCTSStatus, c);
        paint(ui.LblBusyStatus, c);
        paint(comm.LblCTS, c);
    });
    connect(link, &SerialLink::loggerIndicator, this, [&ui, &comm](const QString &text, IndicatorColour c) {
        ui.lblLgrStatus->setText(text);
        paint(ui.lblLgrStatus, c);
        paint(comm.LblLogger, c);
    });
    connect(link, &SerialLink::dsrIndicator, this, [&ui, &comm](IndicatorColour c) {
        paint(ui.lblDSRStatus, c);
        paint(comm.lblStatusDSR, c);
    });
    connect(link, &SerialLink::dtrIndicator, this, [&comm](IndicatorColour c) { paint(comm.lblToggleDTR, c); });
    connect(link, &SerialLink::rtsIndicator, this, [&comm](IndicatorColour c) { paint(comm.lblToggleRTS, c); });
    connect(link, &SerialLink::dcdIndicator, this, [&comm](IndicatorColour c) { paint(comm.lblStatusDCD, c); });
    connect(&link->baud(), &BaudSwitch::baudSelected, this, [this](bool highSpeed) {
        const QSignalBlocker a(m_w.comm.ui().OptBaud9600);
        const QSignalBlocker b(m_w.comm.ui().OptBaud115K);
        (highSpeed ? m_w.comm.ui().OptBaud115K : m_w.comm.ui().OptBaud9600)->setChecked(true);
    });
    connect(comm.OptBaud115K, &QRadioButton::clicked, this, [link] { link->baud().selectBaud(true); });
    connect(comm.OptBaud9600, &QRadioButton::clicked, this, [link] { link->baud().selectBaud(false); });
    connect(ui.ChkAutoBaud, &QCheckBox::toggled, this, [link](bool on) { link->baud().setAutoBaud(on); });
    link->baud().setAutoBaud(ui.ChkAutoBaud->isChecked());
    connect(ui.ChkAutoDnldBypass, &QCheckBox::toggled, this,
            [link](bool on) { link->setAutoDownloadBypass(on); });
}

void ConnectionWiring::wireTraffic()
{
    Ui::frmComm &comm = m_w.comm.ui();
    connect(&m_c.status, &CommStatusLine::textChanged, comm.lblCommStatus, &QLabel::setText);
    connect(&m_c.transport, &CommandTransport::txdChanged, comm.TxtTxd, &QLineEdit::setText);
    connect(&m_c.transport, &CommandTransport::rxdChanged, comm.LblRxd, &QLabel::setText);
    connect(&m_c.link, &SerialLink::rxdAppended, this, [&comm](const QString &text) {
        comm.LblRxd->setText((comm.LblRxd->text() + text).right(RxdKeep));
    });
    connect(comm.txtstopbit2delay, &QLineEdit::textChanged, this,
            [this] { m_c.transport.setInterCharDelay(m_w.comm.interCharDelay()); });
    m_c.transport.setInterCharDelay(m_w.comm.interCharDelay());
}

void ConnectionWiring::wireConnectionEvents()
{
    Ui::FrmStartup &ui = m_w.ui;
    connect(&m_c.link, &SerialLink::newConnectionStarting, this, [this, &ui] {
        m_w.view.showHeaderNotRead();
        ui.LblMessage3->setText(QStringLiteral("Please wait, downloading header information"));
    });
    connect(&m_c.link, &SerialLink::loggerLost, this, &ConnectionWiring::onLoggerLost);
    connect(&m_c.link, &SerialLink::showLoggerTab, this,
            [&ui] { ui.SSTab1->setCurrentIndex(MainTab::DataLogger); });
}

void ConnectionWiring::onLoggerLost()
{
    Ui::FrmStartup &ui = m_w.ui;
    Ui::frmComm &comm = m_w.comm.ui();
    ui.LblMessage3->setText(QStringLiteral("Logger Disconnected -- Waiting for a Logger"));
    ui.LblStatusLine->clear();
    comm.LblRxd->clear();
    comm.TxtTxd->clear();
    for (QCheckBox *led : {comm.chkLed2, comm.chkLed3}) {
        const QSignalBlocker quiet(led);
        led->setChecked(false);
    }
    ui.ProgressBar1->setValue(0);
    ui.ProgressBarData->setValue(0);
    ui.ProgressBarCal->setValue(0);
    ui.lblBytesRemaining->clear();
    m_c.header.headerValid = false;
    m_w.view.subLoggerPresent();
}

void ConnectionWiring::wireDebugSwitches()
{
    Ui::frmComm &comm = m_w.comm.ui();
    const std::pair<QCheckBox *, bool DebugSwitches::*> boxes[] = {
        {comm.chkHalt, &DebugSwitches::haltOnError},
        {comm.chkDebugprintRxdTxd, &DebugSwitches::monitor},
        {comm.chkDebug, &DebugSwitches::debugPrint},
        {comm.chkDebugBeep, &DebugSwitches::debugBeep},
        {comm.chkMSBfix, &DebugSwitches::msbFix},
        {comm.chkEnableBeep, &DebugSwitches::enableBeep},
        {comm.chkSubSend, &DebugSwitches::subSend},
        {comm.chkAutoPicInfo, &DebugSwitches::autoPicInfo},
    };
    for (const auto &[box, field] : boxes) {
        connect(box, &QCheckBox::toggled, this, [this, field = field](bool on) { m_c.switches.*field = on; });
    }
    // MONITOR shows the trace window, unticked it hides it; both blank its
    // box, which fills again with the whole trace at the next line.
    connect(comm.chkDebugprintRxdTxd, &QCheckBox::toggled, this, [this](bool on) {
        m_w.debugPrint.setVisible(on);
        m_w.debugPrint.blank();
    });
    m_c.switches.onHaltOnErrorUnticked = [&comm] {
        const QSignalBlocker quiet(comm.chkHalt);
        comm.chkHalt->setChecked(false);
    };
}

void ConnectionWiring::wireStatusByte()
{
    Ui::FrmStartup &ui = m_w.ui;
    Ui::frmComm &comm = m_w.comm.ui();
    StatusByteCommands *sb = &m_c.statusByte;
    auto paintOptional = [](QLabel *label, std::optional<IndicatorColour> c) {
        c ? IndicatorPainter::paint(label, *c) : IndicatorPainter::unpaint(label);
    };
    connect(sb, &StatusByteCommands::alertLabelChanged, this, [&ui, paintOptional](const QString &t, auto c) {
        ui.lblRdBattCond->setText(t);
        paintOptional(ui.lblRdBattCond, c);
    });
    connect(sb, &StatusByteCommands::testStatusChanged, this, [&ui, paintOptional](const QString &t, auto c) {
        ui.LblRdMemStat->setText(t);
        paintOptional(ui.LblRdMemStat, c);
    });
    connect(sb, &StatusByteCommands::statusLineChanged, ui.LblStatusLine, &QLabel::setText);
    connect(sb, &StatusByteCommands::batteryStopDateChanged, m_w.view.ui().LblRdBattStopDate, &QLabel::setText);
    QLabel *bits[] = {comm.lblSB0, comm.lblSB1, comm.lblSB2, comm.lblSB3,
                      comm.lblSB4, comm.lblSB5, comm.lblSB6, comm.lblSB7};
    connect(sb, &StatusByteCommands::statusBitChanged, this,
            [bits](int bit, IndicatorColour c, const QString &caption) {
                IndicatorPainter::paint(bits[bit & 7], c);
                if (!caption.isEmpty())
                    bits[bit & 7]->setText(caption);
            });
    connect(sb, &StatusByteCommands::statusBitCleared, this,
            [bits](int bit) { IndicatorPainter::unpaint(bits[bit & 7]); });
    connect(sb, &StatusByteCommands::statusByteShown, comm.lblSBRead, &QLabel::setText);
    connect(sb, &StatusByteCommands::loggingBoxTicked, comm.chkEnableLogging, &QCheckBox::setChecked);
    connect(sb, &StatusByteCommands::dumpBoxTicked, comm.chkEnableDump, &QCheckBox::setChecked);
    connect(sb, &StatusByteCommands::loPowerStopEnabled, ui.cmdLoPower, &QPushButton::setEnabled);
    connect(comm.chkEnableLogging, &QCheckBox::toggled, sb, &StatusByteCommands::chkEnableLoggingClicked);
    connect(comm.chkEnableDump, &QCheckBox::toggled, sb, &StatusByteCommands::chkEnableDumpClicked);
    connect(comm.chkLed2, &QCheckBox::clicked, sb, &StatusByteCommands::chkLed2Clicked);
    connect(comm.chkLed3, &QCheckBox::clicked, sb, &StatusByteCommands::chkLed3Clicked);
    connect(comm.cmdSBRead, &QPushButton::clicked, sb, &StatusByteCommands::subSBRead);
    connect(comm.cmdSBClear, &QPushButton::clicked, sb, &StatusByteCommands::subSBClear);
    connect(comm.cmdSBReset, &QPushButton::clicked, sb, &StatusByteCommands::subSBReset);
    connect(comm.cmdSoftReset, &QPushButton::clicked, sb, &StatusByteCommands::subSoftReset);
    sb->setHooks({
        [this] {
            const LiveBlockValues &live = m_c.capture.values();
            StatusByteCommands::ScanPointers p;
            p.currentPointer = live.active.pointer.value;
            p.eventPointer = live.eventPointer.value;
            p.wordsPerScan = m_w.setup.highestChannel + (m_w.setup.monitorChannel ? 2 : 0);
            p.presetScans = live.preset.scans.value;
            p.testStart = m_c.header.startDate;
            p.scanPeriodSeconds = live.preset.period.value;
            return p;
        },
        [this] { m_c.capture.subReadPic(); },
    });
}

void ConnectionWiring::wireHeaderRead()
{
    Ui::FrmStartup &ui = m_w.ui;
    HeaderReader *reader = &m_c.headerReader;
    connect(reader, &HeaderReader::messageLine, ui.LblMessage3, &QLabel::setText);
    connect(reader, &HeaderReader::dataLoggerTabSelected, this,
            [&ui] { ui.SSTab1->setCurrentIndex(MainTab::DataLogger); });
    connect(reader, &HeaderReader::progressChanged, this, [&ui](double value, int maximum) {
        ui.ProgressBar1->setMaximum(qMax(1, maximum));
        ui.ProgressBar1->setValue(int(value));
    });
    connect(reader, &HeaderReader::channelLabelsChanged, this, [&ui](const QStringList &labels) {
        QLabel *channels[] = {ui.lblActCh1, ui.lblActCh2, ui.lblActCh3, ui.lblActCh4,
                              ui.lblActCh5, ui.lblActCh6, ui.lblActCh7, ui.lblActCh8};
        for (int i = 0; i < 8 && i < labels.size(); ++i)
            channels[i]->setText(labels[i]);
    });
    HeaderReader::Hooks hooks = m_c.headerHooks();
    // An older-series logger cannot be served: the program ends after saying so.
    hooks.endProgram = [] { QCoreApplication::exit(0); };
    hooks.subLoggerPresent = [this] { m_w.view.subLoggerPresent(); };
    reader->setHooks(hooks);
}

void ConnectionWiring::wireCapture()
{
    EventCapture::Hooks hooks;
    hooks.status = [this] {
        return EventCapture::StatusInputs{m_c.statusByte.statusValue(), m_c.statusByte.statusText()};
    };
    hooks.setup.wordsPerScan = [this] {
        return m_w.setup.highestChannel + (m_w.setup.monitorChannel ? 2 : 0);
    };
    hooks.setup.isChannelActive = [this](int ch) { return m_w.setupRules.isChannelShownSelected(ch); };
    hooks.setup.toggleChannel = [this](int ch) { m_w.setupRules.lblActChClick(ch); };
    hooks.setup.selectMonitor = [this](int ch) { m_w.setupRules.selectMonitor(ch); };
    hooks.setup.setNumberActiveChannels = [this] { m_w.setupRules.setNumberActiveChannels(); };
    m_c.capture.setHooks(hooks);
}

void ConnectionWiring::wireButtons()
{
    Ui::FrmStartup &ui = m_w.ui;
    MaintenanceButtons *buttons = &m_c.buttons;
    connect(ui.cmdForceStop, &QPushButton::clicked, buttons, &MaintenanceButtons::cmdForceStop);
    connect(ui.cmdLoPower, &QPushButton::clicked, buttons, &MaintenanceButtons::cmdLoPower);
    connect(ui.cmdResetLogger, &QPushButton::clicked, buttons, &MaintenanceButtons::cmdResetLogger);
    connect(ui.cmdBootloadReStart, &QPushButton::clicked, buttons, &MaintenanceButtons::cmdBootloadReStart);
    connect(buttons, &MaintenanceButtons::bootloadRestartAvailable, this,
            [&ui] { ui.cmdBootloadReStart->setEnabled(true); });
    connect(buttons, &MaintenanceButtons::mainTabSelected, ui.SSTab1, &QTabWidget::setCurrentIndex);
    connect(ui.cmdLgrStatus, &QPushButton::clicked, &m_w.view, &LoggerStatusView::cmdLgrStatus_Click);

    MaintenanceButtons::Hooks hooks = m_c.buttonHooks();
    hooks.clearFactoryDisplay = [this] { m_w.comm.factoryPage().subClearFactoryDisplay(); };
    hooks.initialValues = [this] { m_w.startup.SubInitial_values(); };
    hooks.checkCommPort = [this] { m_w.startup.CheckCommPort(); };
    buttons->setHooks(hooks);

    LoggerStatusView::Hooks viewHooks;
    viewHooks.selectTab = [&ui](int tab) { ui.SSTab1->setCurrentIndex(tab); };
    viewHooks.hideCalibrationWindow = m_w.hideCalibrationWindow;
    viewHooks.markChannelSelected = [this](int ch) {
        if (!m_w.setupRules.isChannelShownSelected(ch))
            m_w.setupRules.lblActChClick(ch);
    };
    viewHooks.subVerifyQtyActChs = [this] {
        m_w.setupRules.SubVerifyQtyActChs(m_c.header.installedChannels);
    };
    viewHooks.setNumberActiveChannels = [this] { m_w.setupRules.setNumberActiveChannels(); };
    viewHooks.clearCalInterval = [this] { m_w.setupRules.scanPeriod().clearCalInterval(); };
    viewHooks.subMaxScans = [this] { m_w.setupRules.scanPeriod().SubMaxScans(); };
    viewHooks.restoreScanPeriod = [this] { m_w.startup.restoreScanPeriod(); };
    viewHooks.subEnableDump = [this] { m_c.statusByte.subEnableDump(); };
    viewHooks.eepromInvalid = [this] { return m_c.statusByte.decoded().eepromInvalid; };
    viewHooks.SubResetCommCommand = [this] { m_c.buttons.SubResetCommCommand(); };
    m_w.view.setHooks(viewHooks);
}
