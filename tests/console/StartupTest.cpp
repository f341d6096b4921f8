#include "console/MainTab.h"
#include "tests/console/MainWindowFixture.h"

#include "console/StartupController.h"
#include "console/frmComm.h"
#include "ui_frmComm.h"

#include "platform/PortNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const std::vector<int> StartPage{0, 5};
const std::vector<int> LoggedOn{0, 1, 2, 3, 4, 5, 6, 8, 9};
} // namespace

using Startup = MainWindowFixture;

TEST_F(Startup, FirstRunCreatesTheDataFolderAndSendsTheOperatorToDefaults)
{
    dialogs.expect("Default Data Folder");
    dialogs.expect("Startup");
    load();

    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "The default data file path is invalid.\r\n"
              "A data file folder has been created as '"
                  + QDir::toNativeSeparators(dataFolder)
                  + "'.\r\nSee the manual for more information.");
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::OkOnly);
    EXPECT_EQ(dialogs.shown()[1].text,
              "The correct working Comm Port MUST be selected in the DEFAULTS tab before proceeding!\r\n"
              "Also, Be sure to set the correct path to the data file storage folder, or errors will "
              "occur during downloads.\r\n"
              "\r\n"
              "After setting all of the defaults, then select the LOG-ON tab and\r\n"
              "exit the program to complete the installation with the correct Registry settings.\r\n"
              "\r\n"
              "Read the README.TXT file for more details.");
    EXPECT_EQ(dialogs.shown()[1].buttons, Dialogs::OkOnly);
    EXPECT_EQ(dialogs.shown()[1].icon, Dialogs::Exclamation);

    EXPECT_TRUE(QDir(dataFolder).exists());
    EXPECT_EQ(window->state().defaultPath, dataFolder);
    EXPECT_EQ(stored("DefaultPath"), "<none>") << "the stored key is not rewritten";
    EXPECT_EQ(window->windowTitle(), "KORVAN Data Logger Software - Z8-v7.7.0");
    EXPECT_EQ(enabledTabs(), StartPage);
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::Defaults));
    EXPECT_EQ(port.openCount, 0);
}

TEST_F(Startup, TabCaptionsAreTheTenOfTheMainWindow)
{
    QDir().mkpath(dataFolder);
    store("CommPortNum", "1");
    load();
    QStringList captions;
    for (int i = 0; i < window->ui().SSTab1->count(); ++i)
        captions << window->ui().SSTab1->tabText(i);
    EXPECT_EQ(captions, QStringList({"Log-On", "Waiting", "Data Logger", "Setup", "Cal Data",
                                     "Defaults", "Real Time", "Passwords", "About", "Help"}));
}

TEST_F(Startup, DefaultsFillTheFieldsAndCsvIsAlwaysOn)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "1");
    store("chkCSV", "0");
    load();
    const Ui::FrmStartup &ui = window->ui();
    EXPECT_TRUE(window->comm().csvOption());
    EXPECT_FALSE(ui.chkRAW->isChecked());
    EXPECT_TRUE(ui.chkTidy->isChecked()) << "the tidy export is on by default";
    EXPECT_EQ(ui.chkTidy->text(), "Tidy CSV + metadata");
    EXPECT_EQ(ui.chkTidy->accessibleName(), ui.chkTidy->text());
    EXPECT_TRUE(ui.ChkAutoBaud->isChecked());
    EXPECT_EQ(ui.MebLocCode->text(), "A");
    EXPECT_EQ(ui.txtRegChanPosition1->text(), "1");
    EXPECT_EQ(ui.txtRegChanPosition4->text(), "4");
    EXPECT_EQ(ui.txtWaits->text(), "15");
    EXPECT_EQ(window->state().waitSeconds, 15);
    EXPECT_EQ(window->state().passwordAdmin, "Overseerentry");
    EXPECT_EQ(window->comm().ui().lblStopbit2actual->text(), "500");
    EXPECT_EQ(ui.TxtDir->text(), QDir::toNativeSeparators(dataFolder));
    EXPECT_FALSE(ui.OptUseLast->isEnabled());
    EXPECT_FALSE(ui.cmdSetDates->isEnabled());
    EXPECT_EQ(window->setup().channelSelect[1], 64.0f) << "channel 1 starts selected";
    EXPECT_EQ(window->setup().highestChannel, 1);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(Startup, JunkInTheStoreFallsBackToDefaults)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "abc");
    store("WaitPeriod", "-5");
    store("GMTDelta", "x");
    store("Logger_Baud", "4800,N,8,1");
    store("chkRAW", "maybe");
    store("TidyExport", "perhaps");
    dialogs.expect("Startup");
    load();
    EXPECT_EQ(window->state().commPortNum, 0);
    EXPECT_EQ(window->state().waitSeconds, 15);
    EXPECT_EQ(window->ui().txtWaits->text(), "15");
    EXPECT_EQ(window->state().gmtDelta, 0);
    EXPECT_EQ(window->state().loggerBaud, "9600,N,8,1");
    EXPECT_FALSE(window->ui().chkRAW->isChecked());
    EXPECT_TRUE(window->ui().chkTidy->isChecked());
}

TEST_F(Startup, StoredPortIsSelectedButNotOpenedUntilLogOn)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "2");
    load();
    EXPECT_TRUE(window->ui().OptComm2->isChecked());
    EXPECT_EQ(port.openCount, 0);
    EXPECT_FALSE(window->state().portSelectInProgress);
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::LogOn));
    EXPECT_EQ(enabledTabs(), StartPage);

    window->ui().CmdLogOn->click();

    EXPECT_TRUE(window->state().loggedOn);
    EXPECT_EQ(enabledTabs(), LoggedOn);
    EXPECT_EQ(port.openCount, 1);
    EXPECT_TRUE(port.dtr());
    EXPECT_TRUE(port.rts());
    EXPECT_EQ(stored("CommPortNum"), "2");
    EXPECT_EQ(window->ui().SSTab1->tabText(0), "&Log-Off");
    EXPECT_TRUE(window->ui().CmdLogOn->isHidden());
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::DataLogger));
    EXPECT_EQ(window->ui().LblMessage3->text(), "Waiting for Data Logger to be connected");
    EXPECT_EQ(window->ui().TxtScanPeriod->text(), "60");
    EXPECT_TRUE(window->ui().OptMins->isChecked());
    EXPECT_EQ(window->setup().memorySize, 32534);
    EXPECT_EQ(window->ui().lblComStatus->text(), "Com 2-96");
}

TEST_F(Startup, PortOutsideOneToFourSelectsNoneAndBecomesOneAtLogOn)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "7");
    load();
    for (QRadioButton *option : {window->ui().OptComm1, window->ui().OptComm2,
                                 window->ui().OptComm3, window->ui().OptComm4})
        EXPECT_FALSE(option->isChecked());
    window->ui().CmdLogOn->click();
    EXPECT_EQ(stored("CommPortNum"), "1");
    EXPECT_EQ(port.openCount, 1);
    EXPECT_TRUE(port.portName().endsWith("ttyS0") || port.portName().endsWith("ttyUSB0")
                || port.portName() == "COM1")
        << port.portName().toStdString();
}

TEST_F(Startup, PortThatCannotBeOpenedSendsTheOperatorToDefaults)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "3");
    port.refuseOpen = true;
    load();
    dialogs.expect("Set Default Comm Port");
    window->ui().SSTab1->setCurrentIndex(MainTab::Defaults);
    window->ui().OptComm4->click();

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "The Default Comm Port--Com 4 (" + PortNames::deviceForPort(4) + ") is not available.\r\n"
              "Please select a different Default Comm Port\r\n"
              "then exit the program and start it again.");
    EXPECT_EQ(stored("CommPortNum"), "4") << "the chosen port stays stored";
    EXPECT_FALSE(link.state().portUnavailable);
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::Defaults));
    EXPECT_TRUE(window->ui().SSTab1->isTabEnabled(MainTab::Defaults));
}

struct PortRefusal
{
    const char *name;
    const char *device; // given with --port; empty for the numbered port
    const char *reason; // what the system said
    QString expected;
};

void PrintTo(const PortRefusal &c, std::ostream *out)
{
    *out << c.name;
}

class UnavailablePort : public MainWindowFixture, public ::testing::WithParamInterface<PortRefusal>
{
};

TEST_P(UnavailablePort, TheBoxNamesTheDeviceTriedAndTheSystemsReason)
{
    const PortRefusal &c = GetParam();
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "2");
    port.refuseOpen = true;
    port.refuseReason = c.reason;
    link.setDeviceOverride(c.device);
    window = std::make_unique<FrmStartup>(loop, dialogs, printer, settings, connection,
                                          FrmStartup::Options{dataFolder, false, c.device});
    window->Form_Load();
    dialogs.expect("Set Default Comm Port");
    window->ui().CmdLogOn->click();

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, c.expected);
    EXPECT_EQ(port.portName(), QString(c.device).isEmpty() ? PortNames::deviceForPort(2) : c.device);
    EXPECT_TRUE(window->ui().SSTab1->isTabEnabled(MainTab::Defaults));
}

const QString PleaseSelect = "\r\nPlease select a different Default Comm Port\r\n"
                             "then exit the program and start it again.";

INSTANTIATE_TEST_SUITE_P(
    Startup, UnavailablePort,
    ::testing::Values(
        PortRefusal{"NumberedPortMissing", "", "No such device: is the serial adapter plugged in?",
                    "The Default Comm Port--Com 2 (" + PortNames::deviceForPort(2) + ") is not available."
                        + PleaseSelect + "\r\n\r\nNo such device: is the serial adapter plugged in?"},
        PortRefusal{"PortGivenOnTheCommandLine", "/dev/ttyUSB7",
                    "Permission denied: join the 'dialout' group (sudo usermod -aG dialout $USER), "
                    "then log out and in again.",
                    "The Default Comm Port--/dev/ttyUSB7 (from --port) is not available." + PleaseSelect
                        + "\r\n\r\nPermission denied: join the 'dialout' group (sudo usermod -aG "
                          "dialout $USER), then log out and in again."},
        PortRefusal{"NoReasonGiven", "/dev/ttyACM0", "",
                    "The Default Comm Port--/dev/ttyACM0 (from --port) is not available." + PleaseSelect}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Startup, DataFolderThatCannotBeCreatedIsReportedNotClaimed)
{
    QFile blocker(dir.filePath("NotAFolder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    dataFolder = dir.filePath("NotAFolder/LoggerData");
    store("CommPortNum", "1");
    dialogs.expect("Default Data Folder");
    load();

    ASSERT_EQ(dialogs.shown().size(), 1u);
    const QString shown = QDir::toNativeSeparators(dataFolder);
    EXPECT_EQ(dialogs.shown()[0].text,
              "The default data file path is invalid.\r\n"
              "The data file folder '" + shown + "' could not be created.\r\n"
              "Choose a data folder on the DEFAULTS tab before downloading.");
    EXPECT_FALSE(dialogs.shown()[0].text.contains("has been created"));
    EXPECT_EQ(dialogs.shown()[0].icon, Dialogs::Exclamation);
    EXPECT_FALSE(QFileInfo(dataFolder).isDir());
    EXPECT_EQ(window->ui().TxtDir->text(), shown) << "the operator sees which folder to replace";
}

TEST_F(Startup, ChoosingAPortOnDefaultsOpensItAtOnce)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "1");
    load();
    window->ui().OptComm3->click();
    EXPECT_EQ(port.openCount, 1);
    EXPECT_EQ(stored("CommPortNum"), "3");
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::LogOn));
}

TEST_F(Startup, DefaultsTabWithdrawsLogOnAndLogOnTabRestoresIt)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "1");
    load();
    window->ui().SSTab1->setCurrentIndex(MainTab::Defaults);
    EXPECT_FALSE(window->ui().CmdLogOn->isEnabled());
    window->ui().SSTab1->setCurrentIndex(MainTab::LogOn);
    EXPECT_TRUE(window->ui().CmdLogOn->isEnabled());
}

TEST_F(Startup, HelpSaysThereIsNoHelpFile)
{
    QDir().mkpath(dataFolder);
    store("DefaultPath", dataFolder);
    store("CommPortNum", "1");
    load();
    window->ui().CmdLogOn->click(); // the Help tab opens with Log On
    dialogs.allow(QCoreApplication::applicationName());
    window->ui().cmdHelpContents->click();
    window->ui().mnuHelpSearch->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2u);
    for (const auto &box : dialogs.shown()) {
        EXPECT_EQ(box.text, "Unable to display Help Contents. There is no Help associated with this project.");
        EXPECT_EQ(box.icon, Dialogs::Information);
    }
    QString aboutWindow;
    dialogs.onModal([&](QObject *w) {
        aboutWindow = w->objectName();
        return 1;
    });
    window->ui().mnuHelpAbout->trigger();
    EXPECT_EQ(aboutWindow, "frmAbout");
}
