#include "console/FrmStartup.h"

#include "calibration/FrmCalRoutine.h"
#include "calibration/CalDataTab.h"
#include "calibration/CalibrationFileCommands.h"
#include "calibration/frmCalDataNotes.h"
#include "calibration/FrmpHRemDispSetup.h"

#include "console/AccessControl.h"
#include "console/LevelPasswords.h"

#include "console/BatteryInstalledCommand.h"
#include "console/DefaultCalibrationCommand.h"
#include "console/DownloadCommand.h"
#include "console/DownloadWiring.h"
#include "console/InitializeCommand.h"
#include "console/SavedSetup.h"

#include "console/ClockDisplay.h"
#include "console/ConnectionWiring.h"
#include "logger/LoggerConnection.h"
#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/RealTimeChart.h"
#include "console/RealTimeDisplay.h"
#include "console/RealTimeGrid.h"
#include "console/RealTimePositions.h"
#include "console/DefaultsTab.h"
#include "console/FactoryPage.h"
#include "console/FactoryPageWiring.h"
#include "ui_FactoryPage.h"
#include "logger/HeaderFileCommands.h"
#include "console/LabelActivator.h"
#include "console/LinkLabelClicks.h"
#include "console/MemoryTestButtons.h"
#include "console/OpenDownloadCommand.h"
#include "logger/download/DownloadRebuild.h"
#include "logger/download/RebuildCommand.h"
#include "console/ScanPeriodRules.h"
#include "console/SetupRules.h"
#include "console/StartupController.h"
#include "console/frmAbout.h"
#include "console/frmComm.h"
#include "console/frmDebugPrint.h"
#include "platform/Dialogs.h"
#include "reports/CalDataReport.h"
#include "reports/RealTimeReportCommand.h"
#include "reports/WindowImageReport.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"
#include "ui_frmComm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

FrmStartup::FrmStartup(EventLoop &loop, Dialogs &dialogs, Printer &printer, SettingsStore &store,
                       LoggerConnection &connection, const Options &options, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::FrmStartup>())
    , m_dialogs(dialogs)
    , m_printer(printer)
    , m_connection(connection)
    , m_settings(store)
    , m_comm(std::make_unique<frmComm>(this))
    , m_store(store)
    , m_loop(loop)
{
    m_ui->setupUi(this);
    m_debugPrint = std::make_unique<frmDebugPrint>(
        frmDebugPrint::Parts{connection.trace, dialogs, loop, [this] { return m_state.defaultPath; }}, this);
    m_defaults = std::make_unique<DefaultsTab>(*m_ui, m_state, dialogs, m_settings);
    m_clocks = std::make_unique<ClockDisplay>(*m_ui, m_state, m_setup, loop, dialogs, m_settings);
    m_setupRules = std::make_unique<SetupRules>(SetupRules::Parts{
        *m_ui, m_setup, m_state, dialogs, m_settings, connection.state, connection.header, loop});
    m_clocks->setTickHook([this] { m_setupRules->scanPeriod().SubLoggingDuration(); });
    m_startup = std::make_unique<StartupController>(StartupController::Parts{
        *m_ui, m_state, m_setup, m_settings, dialogs, connection.link, *m_comm, *m_defaults, *m_clocks,
        *m_setupRules, options.defaultDataFolder, options.demoMode, options.portDevice});

    connect(m_ui->SSTab1, &QTabWidget::currentChanged, this, &FrmStartup::SSTab1_Click);
    connect(m_ui->CmdExit, &QPushButton::clicked, this, &FrmStartup::CmdExit_Click);
    connect(m_ui->cmdHelpContents, &QPushButton::clicked, this, &FrmStartup::showHelpUnavailable);
    connect(m_ui->cmdHelpSearch, &QPushButton::clicked, this, &FrmStartup::showHelpUnavailable);
    connect(m_ui->mnuHelpContents, &QAction::triggered, this, &FrmStartup::showHelpUnavailable);
    connect(m_ui->mnuHelpSearch, &QAction::triggered, this, &FrmStartup::showHelpUnavailable);
    connect(m_ui->mnuHelpAbout, &QAction::triggered, this, &FrmStartup::showAbout);
    m_ui->txtWaits->installEventFilter(this);
    m_statusView = new LoggerStatusView(
        {connection.header, connection.capture.values(), m_setup, connection.state, dialogs},
        m_ui->statusViewArea);
    m_statusView->placeIn(m_ui->statusViewArea);
    m_initialize = new InitializeCommand(
        {*m_ui, m_setup, m_state, *m_setupRules, connection, dialogs, *m_defaults}, this);
    new SavedSetup({*m_ui, m_setup, *m_setupRules, dialogs, m_settings}, this);
    new DefaultCalibrationCommand(*m_ui->cmdDefaultCal, connection, dialogs, this);
    new BatteryInstalledCommand(*m_ui->ChkBattInst, connection, loop, dialogs, this);
    m_memoryTests = new MemoryTestButtons({*m_ui, connection, dialogs, loop}, this);
    m_openDownload = new OpenDownloadCommand(*this, dialogs, [this] { return m_state.defaultPath; });
    connect(m_ui->mnuFileOpenDownload, &QAction::triggered, m_openDownload, &OpenDownloadCommand::run);
    m_openDownload->setRawRebuild([&dialogs](const QString &raw, DownloadTableReader::TidyTexts *texts, QString *error) {
        return DownloadRebuild::tidyTexts(raw, dialogs, &texts->rows, &texts->events, &texts->metadata, error);
    });
    m_ui->mnuFileRebuildRaw->setEnabled(true);
    connect(m_ui->mnuFileRebuildRaw, &QAction::triggered, this,
            [this, &dialogs] { RebuildCommand(dialogs).run(m_state.defaultPath); });
    m_wiring = new ConnectionWiring(connection, {*m_ui, *m_comm, *m_debugPrint, *m_statusView,
                                                 *m_setupRules, m_setup, *m_startup,
                                                 [this] { hideCalibrationWindow(); }});
    auto *download = new DownloadCommand({*m_ui, *m_comm, *m_statusView, connection, dialogs}, this);
    new DownloadWiring(connection, {*this, *m_ui, *m_comm, *m_statusView, m_setup, m_state, dialogs});
    m_access = new AccessControl({*m_ui, m_state, m_settings, dialogs, *m_comm}, this);
    m_levelPasswords = new LevelPasswords(*m_ui, m_state, m_settings, this);
    addCalibration(loop, connection);
    addRealTime(loop, connection);
    addKeyboardAccess(connection);
    addPhRemoteDisplay(connection);
    addFactoryPage(loop, connection, [download] { download->CmdDownload_Click(); });
    addPrinting();
    disableControlsStillToCome();
}

// The communications window's factory page, and the header data file commands
// it offers.
void FrmStartup::addFactoryPage(EventLoop &loop, LoggerConnection &connection,
                                std::function<void()> download)
{
    m_headerFiles = std::make_unique<HeaderFileCommands>(HeaderFileCommands::Parts{
        connection, m_dialogs, [this] { return m_state.defaultPath; }, [&loop] { return loop.now(); }});
    // The Help tab's header file buttons do what the factory page's do.
    connect(m_ui->cmdSaveHeaderFile, &QPushButton::clicked, m_comm->factoryPage().ui().cmdSaveHeaderFile,
            &QPushButton::click);
    connect(m_ui->cmdReadHeaderFile, &QPushButton::clicked, m_comm->factoryPage().ui().cmdReadHeaderFile,
            &QPushButton::click);
    m_factoryWiring = new FactoryPageWiring(
        {m_comm->factoryPage(), connection, loop, m_dialogs, *m_headerFiles, *m_memoryTests,
         [this] { return m_state.defaultPath; }, std::move(download)},
        this);
    connect(m_comm.get(), &frmComm::LblRxdClicked, m_factoryWiring, &FactoryPageWiring::takeReceivedText);
}

void FrmStartup::disableControlsStillToCome()
{
    // What these do is still to be built; until it is, they must not look as
    // if they worked. The change that builds one enables it.
    const Ui::FrmStartup &ui = *m_ui;
    QWidget *const waiting[] = {
        // The stop-logging flow.
        ui.CmdStopLogging,
    };
    for (QWidget *control : waiting)
        control->setEnabled(false);
}

// Initialize opens the pH remote display window when the Setup tab's box is
// ticked and channel 1 measures pH.
void FrmStartup::addPhRemoteDisplay(LoggerConnection &connection)
{
    m_initialize->setPhSetupWindow([this, &connection] {
        FrmpHRemDispSetup window({connection, m_dialogs, m_setup, *m_ui->SSTab1}, this);
        window.showModal();
    });
}

void FrmStartup::addKeyboardAccess(LoggerConnection &connection)
{
    // Ctrl+Q on every platform, whatever the platform's own quit key is.
    auto *quit = new QAction(QStringLiteral("Quit"), this);
    quit->setObjectName(QStringLiteral("actQuit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &FrmStartup::CmdExit_Click);
    addAction(quit);
    m_ui->mnuHelpContents->setShortcut(QKeySequence(Qt::Key_F1));

    new LinkLabelClicks(connection, *m_ui, m_comm->ui(), this);
    QLabel *channels[] = {m_ui->lblActCh1, m_ui->lblActCh2, m_ui->lblActCh3, m_ui->lblActCh4,
                          m_ui->lblActCh5, m_ui->lblActCh6, m_ui->lblActCh7, m_ui->lblActCh8};
    for (int i = 0; i < 8; ++i) {
        // The setup rules take the channel labels' mouse clicks themselves.
        LabelActivator::attach(channels[i], [this, i] { m_setupRules->lblActChClick(i + 1); },
                               LabelActivator::Input::KeysOnly);
    }
}

// The Real Time tab follows the link: every completed line is offered to it,
// and a new or lost logger stops it.
void FrmStartup::addRealTime(EventLoop &loop, LoggerConnection &connection)
{
    m_realTime = new RealTimeDisplay({*m_ui, connection, m_dialogs, loop, m_setup, [this] { CmdExit_Click(); }},
                                     this);
    connect(&connection.link, &SerialLink::lineReceived, m_realTime, &RealTimeDisplay::subDisplayRT);
    connect(&connection.link, &SerialLink::newConnectionStarting, m_realTime, &RealTimeDisplay::newConnection);
    connect(&connection.link, &SerialLink::loggerLost, m_realTime, &RealTimeDisplay::subStopRTData);
    connect(m_ui->CmdLogOn, &QPushButton::clicked, m_realTime, &RealTimeDisplay::subStopRTData);
    m_positions = new RealTimePositions(
        {*m_ui, connection, m_dialogs, loop, *m_realTime,
         [this] { return m_statusView->ui().LblRdSamplePeriod->text(); }},
        this);
    connect(&connection.link, &SerialLink::lineReceived, m_positions, &RealTimePositions::lineReceived);
    addRealTimeChart(loop, connection);
}

// Below the grid, the chart draws the readings the grid shows, in its mode,
// and starts again whenever the grid does.
void FrmStartup::addRealTimeChart(EventLoop &loop, LoggerConnection &connection)
{
    m_chart = new RealTimeChart(loop, m_dialogs, [this] { return m_state.defaultPath; }, m_ui->tabRealTime);
    m_ui->realTimeLayout->addWidget(m_chart, 1);
    // The grid's own unit text; in engineering units each channel has its own.
    const auto units = [](DisplayMode mode) {
        return mode == DisplayMode::EngineeringUnits ? QStringLiteral("Engineering units")
                                                     : RealTimeGrid::unitText(LoggerHeader(), 1, mode);
    };
    m_chart->setUnits(units(m_realTime->displayMode()));
    connect(m_realTime, &RealTimeDisplay::readingShown, m_chart,
            [this](int channel, const QDateTime &time, double value, bool clip, DisplayMode) {
                m_chart->addReading(channel, time, value, clip);
            });
    connect(m_realTime, &RealTimeDisplay::displayReset, m_chart, [this, &connection] {
        m_chart->setInstalledChannels(connection.header.channelBlocks());
        m_chart->reset();
    });
    connect(m_realTime, &RealTimeDisplay::displayModeChanged, m_chart, [this, units](DisplayMode mode) {
        m_chart->setUnits(units(mode));
        m_chart->reset();
    });
}

FrmCalRoutine &FrmStartup::calibrationWindow()
{
    if (!m_calWindow) {
        const auto saved = [this] {
            m_ui->SSTab1->setCurrentIndex(MainTab::CalData);
            m_calData->subShowCalData();
        };
        const auto written = [this](int index, const ChannelCalRecord &before, const ChannelCalRecord &after) {
            m_calData->appendToLog({{index + 1, before, after}});
        };
        m_calWindow = std::make_unique<FrmCalRoutine>(
            FrmCalRoutine::Parts{m_connection, m_dialogs, m_store, saved, written,
                                 [this] { return m_loop.now().date(); }, *m_calFiles, m_printer,
                                 [this] { return m_loop.now(); }},
            this);
    }
    return *m_calWindow;
}

// The Cal Data tab opens the calibration window and keeps calibration sets
// in files.
void FrmStartup::addCalibration(EventLoop &loop, LoggerConnection &connection)
{
    m_calData = new CalDataTab({{*m_ui->SSTab1, *m_ui->MFGCal, *m_ui->CmdPerfCal, *m_ui->cmdSaveToLogger,
                                 *m_ui->lblChanNum, *m_ui->ProgressBarCal},
                                m_state, connection, m_dialogs, *m_access, loop},
                               this);
    m_calData->setCalWindow({[this](const QString &channel) { calibrationWindow().setChannelBox(channel); },
                             [this] { calibrationWindow().showModal(); }});
    m_calFiles = std::make_unique<CalibrationFileCommands>(CalibrationFileCommands::Parts{
        connection, m_dialogs, [this] { return m_state.defaultPath; },
        [this] { return m_access->askCalibrationPassword(); }, [&loop] { return loop.now(); }});
    m_calNotes = new frmCalDataNotes(this);
    connect(m_ui->cmdGetFromFile, &QPushButton::clicked, this, [this] {
        if (m_calFiles->loadAllChannels())
            m_calData->subShowCalData();
    });
    connect(m_ui->cmdPrintCalData, &QPushButton::clicked, this, &FrmStartup::cmdPrintCalData_Click);
    m_ui->cmdGetFromFile->setEnabled(true);
    m_ui->cmdPrintCalData->setEnabled(true);
}

// "Save or Print to file": the notes dialog, then the calibration of every
// channel saved to a text file, printed, or both.
void FrmStartup::cmdPrintCalData_Click()
{
    if (!m_connection.confirmedLogger())
        return;
    m_calNotes->prepare(QStringLiteral("Cal Data Notes"));
    m_dialogs.runModal(m_calNotes);
    if (m_calNotes->cancelled())
        return;
    if (m_calNotes->saves())
        m_calFiles->saveAllChannels(m_calNotes->notes());
    if (m_calNotes->prints())
        CalDataReport::print(m_printer, m_connection.header, m_calNotes->notes(), m_loop.now());
}

// The Real Time tab's readings and the main window's own image on paper.
void FrmStartup::addPrinting()
{
    auto *realTimeReport = new RealTimeReportCommand(
        {*m_ui->MFgRealTime, *m_ui->lblCumCount, *m_calNotes, m_printer, m_dialogs,
         [this] { return m_state.defaultPath; }, [this] { return m_loop.now(); }},
        this);
    connect(m_ui->cmdPrintRTData, &QPushButton::clicked, realTimeReport, &RealTimeReportCommand::run);
    connect(m_ui->cmdPrint, &QPushButton::clicked, this, &FrmStartup::cmdPrint_Click);
}

void FrmStartup::cmdPrint_Click()
{
    if (!m_connection.confirmedLogger())
        return;
    WindowImageReport::print(m_printer, grab().toImage());
}

void FrmStartup::hideCalibrationWindow()
{
    if (m_calWindow)
        m_calWindow->hide();
}

FrmStartup::~FrmStartup() = default;

void FrmStartup::Form_Load()
{
    m_startup->Form_Load();
    m_levelPasswords->showStored();
}

void FrmStartup::SSTab1_Click(int tab)
{
    if (tab == MainTab::RealTime && m_realTime)
        m_realTime->enterTab();
    else if (tab == MainTab::DataLogger && m_positions)
        m_positions->rebuildCaptions();
    else if (tab == MainTab::CalData && m_calData)
        m_calData->tabSelected();
    if (tab == MainTab::Defaults) {
        m_state.loggedOn = false;
        m_ui->CmdLogOn->setEnabled(false);
    } else if (tab == MainTab::LogOn && !m_ui->CmdLogOn->isHidden()) {
        m_ui->CmdLogOn->setEnabled(true);
        m_ui->CmdLogOn->setFocus();
    }
}

void FrmStartup::CmdExit_Click()
{
    // Every setting is saved as it changes, so there is nothing left to write.
    // Whatever is talking to the logger stops here, even from inside a wait.
    m_connection.shutDown();
    QCoreApplication::exit(0);
}

void FrmStartup::closeEvent(QCloseEvent *event)
{
    event->accept();
    CmdExit_Click();
}

bool FrmStartup::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->txtWaits && event->type() == QEvent::FocusIn)
        m_defaults->txtWaits_GotFocus();
    return QMainWindow::eventFilter(watched, event);
}

void FrmStartup::showHelpUnavailable()
{
    m_dialogs.Message_Box(
        QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."),
        int(Dialogs::OkOnly) | Dialogs::Information, QCoreApplication::applicationName());
}

void FrmStartup::showAbout()
{
    frmAbout about(this);
    m_dialogs.runModal(&about);
}
