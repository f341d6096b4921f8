#include "tests/console/LoggerWindowFixture.h"

#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/SavedSetup.h"
#include "console/SetupState.h"
#include "logger/FunctionsSubs.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"

#include <QTest>

// Initialize Logger on the Setup tab of a shown window, with the simulated
// logger read at Log On, driven as an operator drives it.
class Initialize : public LoggerWindowFixture
{
protected:
    explicit Initialize(LoggerPreset preset = LoggerPreset::Downloaded)
        : LoggerWindowFixture(LoggerPresets::build(preset, VirtualEventLoop().now()))
    {
    }

    void SetUp() override
    {
        openOnSetupTab();
        if (HasFatalFailure())
            return;
    }

    // Types the period into its field and clicks the unit's circle.
    void choosePeriod(const QString &period, QRadioButton *unit)
    {
        QLineEdit *field = ui().TxtScanPeriod;
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, period);
        QTest::mouseClick(unit, Qt::LeftButton, {}, QPoint(6, unit->height() / 2));
    }
    const ScriptedDialogs::Box *box(const QString &title) const
    {
        for (const ScriptedDialogs::Box &b : dialogs.shown())
            if (b.title == title)
                return &b;
        return nullptr;
    }
};

TEST_F(Initialize, ComposedSetupIsUploadedAndTheReconnectedLoggerShowsIt)
{
    choosePeriod("2", ui().OptMins);
    dialogs.allow("Monitor Channel Warning--Battery Power");
    dialogs.allow("Up-load message");
    port.forget();
    ui().CmdInitialize->click();

    const ScriptedDialogs::Box *confirmation = box("Up-load message");
    ASSERT_NE(confirmation, nullptr);
    EXPECT_TRUE(confirmation->text.startsWith("Scan period: 00:02:00\rNumber of channels: "))
        << confirmation->text.toStdString();
    EXPECT_EQ(confirmation->buttons, int(Dialogs::OkCancel));
    const QString wire = port.writtenText();
    EXPECT_TRUE(wire.contains("d0410#0078")) << "period 120 s, as a hex word: " << wire.toStdString();
    EXPECT_TRUE(wire.contains("|l|")) << "logging switched on";
    EXPECT_TRUE(ui().SSTab1->isEnabled());

    logger.unplug();
    settle();
    logger.plugIn();
    settle(40);
    ASSERT_TRUE(connection.header.headerValid);
    EXPECT_EQ(window->statusView().ui().LblRdSamplePeriod->text(), "00:02:00");
    EXPECT_TRUE(logger.isLogging());
}

// The tab as it is entered: no scan period yet.
TEST_F(Initialize, WithoutAScanPeriodNothingIsWritten)
{
    ASSERT_TRUE(ui().TxtScanPeriod->text().isEmpty());
    dialogs.allow("Monitor Channel Warning--Battery Power");
    dialogs.allow("Monitor Channel Warning--Scan Rate");
    dialogs.expect("Select scan period");
    port.forget();
    ui().CmdInitialize->click();
    ASSERT_NE(box("Select scan period"), nullptr);
    EXPECT_EQ(box("Select scan period")->text, "Please enter the scan period.");
    EXPECT_EQ(box("Select scan period")->icon, int(Dialogs::Critical));
    EXPECT_EQ(port.writtenText().count('d'), 0) << port.writtenText().toStdString();
}

class InitializeNeverDownloaded : public Initialize
{
protected:
    InitializeNeverDownloaded()
        : Initialize(LoggerPreset::Finished)
    {
    }
};

// A test that was never downloaded: Cancel, the default, keeps it in the logger.
TEST_F(InitializeNeverDownloaded, CancelKeepsTheOldTest)
{
    choosePeriod("2", ui().OptMins);
    dialogs.allow("Monitor Channel Warning--Battery Power");
    dialogs.allow("Up-load message");
    dialogs.expect("Data Not Downloaded Warning", Dialogs::Cancel);
    port.forget();
    ui().CmdInitialize->click();
    const ScriptedDialogs::Box *warning = box("Data Not Downloaded Warning");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text, "DATA HAS NEVER BEEN DOWNLOADED!\r\n\r\n   CANCEL to allow download, or\r\n"
                             "     OK to initialize logger.\r\n");
    EXPECT_EQ(warning->defaultButton, int(Dialogs::DefaultButton2));
    EXPECT_FALSE(port.writtenText().contains("d04")) << "no header line written";
}

// The saved setup list: two digits a channel, the monitor in channel 1's.
TEST(SavedSetupList, ChannelsAndMonitorAsThirtyTwoDigits)
{
    const struct
    {
        std::array<bool, 8> channels;
        int monitor;
        const char *list;
    } cases[] = {
        {{true, true, true, true}, 0, "40404040000000000000000000000000"},
        {{true, true, true, true}, 2, "C2404040000000000000000000000000"},
        {{true, false, false, false, false, false, false, true}, 8, "C8000000000000400000000000000000"},
    };
    for (const auto &c : cases) {
        const SavedSetup::Selection selection{c.channels, c.monitor};
        EXPECT_EQ(SavedSetup::encode(selection), c.list);
        const SavedSetup::Selection back = SavedSetup::decode(c.list);
        EXPECT_EQ(back.channels, c.channels) << c.list;
        EXPECT_EQ(back.monitorChannel, c.monitor) << c.list;
    }
    EXPECT_EQ(SavedSetup::decode("zz").channels, (std::array<bool, 8>{})) << "junk reads as nothing";
    // A hand-edited value: a sign or a blank is no digit (the number
    // conversion read "-1" as all bits set, a selected channel).
    for (const char *junk : {"-1404040", "+F404040", " F404040", "F 404040"}) {
        const SavedSetup::Selection s = SavedSetup::decode(QString::fromLatin1(junk));
        EXPECT_FALSE(s.channels[0]) << junk;
        EXPECT_EQ(s.monitorChannel, 0) << junk;
        EXPECT_TRUE(s.channels[1]) << junk;
    }
}

// Save Current, a changed setup, Load Saved: the saved one is back.
TEST_F(Initialize, SaveCurrentThenLoadSavedRestoresTheSetup)
{
    choosePeriod("30", ui().OptSecs);
    QTest::mouseClick(ui().TxtProjIdent, Qt::LeftButton);
    QTest::keyClicks(ui().TxtProjIdent, "Pump 7");
    const bool channel3 = window->setup().channelSelect[3] == SetupState::Selected;
    dialogs.expect("Save Setup Check");
    ui().cmdSaveSetup->click();
    EXPECT_EQ(startup.get("DefaultScanUnits", ""), "Sec");
    EXPECT_EQ(startup.get("DefaultScanPeriod", ""), "30");
    const QString saved = startup.get("DefaultScanlist", "");
    EXPECT_EQ(saved.size(), 32);

    choosePeriod("2", ui().OptMins);
    QTest::mouseClick(ui().lblActCh3, Qt::LeftButton);
    ASSERT_NE(window->setup().channelSelect[3] == SetupState::Selected, channel3);
    ui().cmdLoadDefault->click();

    EXPECT_EQ(ui().TxtScanPeriod->text(), "30");
    EXPECT_TRUE(ui().OptSecs->isChecked());
    EXPECT_EQ(ui().TxtProjIdent->text(), "Pump 7");
    EXPECT_EQ(window->setup().channelSelect[3] == SetupState::Selected, channel3);
    EXPECT_EQ(SavedSetup::encode(SavedSetup::decode(saved)), saved);
}

// With a monitor channel: the battery warning always, the scan-rate warning
// below 10 s; Cancel at either writes nothing.
TEST_F(Initialize, MonitorWarningsComeByThePeriodAndCancelStops)
{
    const struct
    {
        const char *period;
        QRadioButton *Ui::FrmStartup::*unit;
        QStringList cancelAt;
        QStringList expectedBoxes;
    } cases[] = {
        {"2", &Ui::FrmStartup::OptMins, {"Monitor Channel Warning--Battery Power"},
         {"Monitor Channel Warning--Battery Power"}},
        {"5", &Ui::FrmStartup::OptSecs, {"Monitor Channel Warning--Battery Power"},
         {"Short Duration", "Monitor Channel Warning--Battery Power"}},
        {"5", &Ui::FrmStartup::OptSecs, {"Monitor Channel Warning--Scan Rate"},
         {"Short Duration", "Monitor Channel Warning--Battery Power", "Monitor Channel Warning--Scan Rate"}},
    };
    for (const auto &c : cases) {
        dialogs.allow("Short Duration");
        QTest::mouseClick(ui().OptMonitorCh3, Qt::LeftButton, {}, QPoint(6, ui().OptMonitorCh3->height() / 2));
        ASSERT_EQ(window->setup().monitorChannel, 3);
        choosePeriod(c.period, ui().*c.unit);
        const std::size_t before = dialogs.shown().size();
        for (const QString &title : c.expectedBoxes)
            if (title != "Short Duration")
                dialogs.expect(title, c.cancelAt.contains(title) ? Dialogs::Cancel : Dialogs::Ok);
        port.forget();
        ui().CmdInitialize->click();
        QStringList titles;
        for (std::size_t i = before; i < dialogs.shown().size(); ++i)
            titles << dialogs.shown()[i].title;
        titles.removeAll("Short Duration");
        QStringList expected = c.expectedBoxes;
        expected.removeAll("Short Duration");
        EXPECT_EQ(titles, expected) << c.period;
        EXPECT_EQ(port.writtenText().count('d'), 0) << c.period;
    }
    const ScriptedDialogs::Box *rate = box("Monitor Channel Warning--Scan Rate");
    ASSERT_NE(rate, nullptr);
    EXPECT_TRUE(rate->text.startsWith("The MONITOR function is enabled.\r\n"
                                      "Monitor Mode does not operate reliably when Scan Interval is less than 10 seconds."));
}

// OK to the never-downloaded warning: the confirmation again, then the upload.
TEST_F(InitializeNeverDownloaded, OkInitializesAfterTheConfirmation)
{
    choosePeriod("2", ui().OptMins);
    dialogs.allow("Monitor Channel Warning--Battery Power");
    dialogs.allow("Up-load message");
    dialogs.expect("Data Not Downloaded Warning", Dialogs::Ok);
    port.forget();
    ui().CmdInitialize->click();
    int confirmations = 0;
    for (const ScriptedDialogs::Box &b : dialogs.shown())
        confirmations += b.title == "Up-load message" && b.text.startsWith("Scan period: ");
    EXPECT_EQ(confirmations, 2) << "asked before the warning and again after it";
    EXPECT_TRUE(port.writtenText().contains("d0410#0078")) << port.writtenText().toStdString();
    EXPECT_TRUE(ui().SSTab1->isEnabled());
    EXPECT_TRUE(ui().CmdDwnLoadData->isHidden()) << "the test is gone: nothing left to download";
    EXPECT_FALSE(ui().CmdDwnLoadData->isEnabled());
}

// The maintenance command: asked first, then sixteen lines for each of the
// eight channel pages.
TEST_F(Initialize, DefaultCalibrationIsWrittenOnlyWhenConfirmed)
{
    for (const int answer : {int(Dialogs::No), int(Dialogs::Yes)}) {
        dialogs.expect("Default Calibration", answer);
        port.forget();
        ui().cmdDefaultCal->click();
        int channelLines = 0;
        for (const QString &message : port.writtenText().split('|'))
            channelLines += message.startsWith("d0") && message.mid(1, 2) >= "06" && message.mid(1, 2) <= "0D";
        EXPECT_EQ(channelLines, answer == Dialogs::Yes ? 128 : 0);
    }
    EXPECT_EQ(box("Default Calibration")->defaultButton, int(Dialogs::DefaultButton2));
}

// A new battery: its date into 0500 and the initializations since it reset,
// each line keeping the date serial first as the header read takes it.
TEST_F(Initialize, NewBatteryWritesItsDateAndResetsTheCount)
{
    ui().SSTab1->setCurrentIndex(MainTab::CalData);
    dialogs.allow("New battery reset", Dialogs::Cancel);
    port.forget();
    QTest::mouseClick(ui().ChkBattInst, Qt::LeftButton, {}, QPoint(6, ui().ChkBattInst->height() / 2));
    ASSERT_TRUE(ui().ChkBattInst->isChecked());

    const QString today = fnDateToSerialText(loop.now()).left(5);
    const QByteArray battery = logger.image().header.mid(0x0500, 16);
    EXPECT_TRUE(battery.startsWith(today.toLatin1())) << battery.constData();
    EXPECT_TRUE(battery.endsWith("BmAH")) << battery.constData();
    const QByteArray init = logger.image().header.mid(0x0420, 16);
    EXPECT_EQ(init.left(12), fnDateToSerialText(connection.header.initDate).toLatin1());
    EXPECT_TRUE(init.endsWith("0000"));

    logger.unplug();
    settle();
    logger.plugIn();
    settle(40);
    EXPECT_EQ(connection.header.batteryDate.date(), loop.now().date());
}
