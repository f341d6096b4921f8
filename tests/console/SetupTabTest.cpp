#include "tests/console/LoggerWindowFixture.h"

#include "console/ClockDisplay.h"
#include "console/MainTab.h"
#include "console/SetupState.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QString Cr = QStringLiteral("\r");

QString unitName(QRadioButton *option)
{
    return option->objectName();
}

} // namespace

// The Setup tab of a shown, active main window with the simulated logger's
// finished test read (channels 1-4, monitor on channel 1, a TMP sensor on
// channel 2), driven by typing and clicking as an operator does.
class SetupTab : public LoggerWindowFixture
{
protected:
    SetupTab()
        : LoggerWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
    }

    void SetUp() override
    {
        openOnSetupTab();
        if (HasFatalFailure())
            return;
        // The memory of the worked examples.
        setup().memorySize = 32768;
    }

    SetupState &setup() { return window->setup(); }

    // Clicks into the scan period field, types over what it holds and leaves it with Tab.
    void typeScanPeriod(const QString &text)
    {
        QLineEdit *field = ui().TxtScanPeriod;
        click(field);
        ASSERT_TRUE(field->hasFocus());
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    void leaveWithTab(QWidget *field) { QTest::keyClick(field, Qt::Key_Tab); }
    // Types the period and clicks the unit, which takes the focus from the field.
    void choose(const QString &period, QRadioButton *unit)
    {
        typeScanPeriod(period);
        click(unit);
    }
    // An option answers a click on its circle or caption, not on the space beside them.
    void click(QWidget *control)
    {
        const bool option = qobject_cast<QRadioButton *>(control) != nullptr;
        QTest::mouseClick(control, Qt::LeftButton, {},
                          option ? QPoint(6, control->height() / 2) : QPoint());
    }
    QString now(qint64 plusSeconds = 0) { return ClockDisplay::dateTimeText(loop.now().addSecs(plusSeconds)); }
};

TEST_F(SetupTab, TheScanPeriodFieldRefusesBlankZeroAndJunkAndKeepsTheFocus)
{
    struct Case
    {
        const char *typed;
        const char *message;
        const char *left;
    };
    const Case cases[] = {
        {"0", "Value other than 0 must be entered", ""},
        {"", "Entry cannot be left blank", ""},
        {"abc", "Entry must be numeric.", ""},
        {"1,5", "Entry must be numeric.", ""},
        {"  ", "Entry must be numeric.", ""},
        {"12abc", "Entry must be numeric.", ""},
    };
    const QString stored = startup.get("ScanPeriod", "<none>");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        typeScanPeriod(c.typed);
        dialogs.expect("Scan Period");
        leaveWithTab(ui().TxtScanPeriod);
        ASSERT_FALSE(dialogs.shown().empty());
        EXPECT_EQ(dialogs.shown().back().text, c.message);
        EXPECT_EQ(ui().TxtScanPeriod->text(), c.left);
        EXPECT_TRUE(ui().TxtScanPeriod->hasFocus()) << "the field keeps the focus";
        EXPECT_EQ(startup.get("ScanPeriod", "<none>"), stored) << "nothing saved";
    }
}

TEST_F(SetupTab, AnyNumberLeavesTheFieldSavedAndAsksForTheUnit)
{
    for (const char *typed : {"-5", "2.5", "1e300", "00", "7"}) {
        SCOPED_TRACE(typed);
        choose("1", ui().OptMins);
        ASSERT_TRUE(ui().OptMins->isChecked());
        typeScanPeriod(typed);
        leaveWithTab(ui().TxtScanPeriod);
        EXPECT_EQ(dialogs.shown().size(), 0u);
        EXPECT_EQ(startup.get("ScanPeriod", "<none>"), typed);
        EXPECT_EQ(ui().LblUserMessage->text(), "Enter desired time unit");
        EXPECT_FALSE(ui().OptMins->isChecked()) << "the unit must be chosen again";
        EXPECT_FALSE(ui().TxtScanPeriod->hasFocus());
    }
}

TEST_F(SetupTab, GivingTheFocusToTheScanPeriodClearsTheUnitAndTheProjectField)
{
    choose("1", ui().OptMins);
    click(ui().TxtProjIdent);
    QTest::keyClicks(ui().TxtProjIdent, "Pump 7");
    EXPECT_EQ(setup().projectIdent, "Pump 7");

    click(ui().TxtScanPeriod);

    EXPECT_FALSE(ui().OptMins->isChecked());
    EXPECT_EQ(ui().TxtProjIdent->text(), "");
    EXPECT_EQ(setup().projectIdent, "");
    EXPECT_EQ(startup.get("ScanPeriodUnit", "<none>"), "Min") << "no unit saved by the focus";
}

TEST_F(SetupTab, EachUnitAcceptsItsRangeAndRefusesTheRest)
{
    struct Case
    {
        const char *typed;
        QRadioButton *unit;
        const char *title; // empty: accepted
        const char *text;
    };
    Ui::FrmStartup &u = ui();
    const char *hoursLow = "Scan Period must be greater than 0.1 hours for hour selection";
    const char *hoursHigh = "Scan interval cannot exceed 18.2 hours, Please re-enter scan period";
    const char *minutes = "Scan Period must be greater than 0.1 minutes and less than 1092 for minute selections";
    const char *secs = "Scan Period must be greater than one second and less than 3601 seconds";
    const Case cases[] = {
        {"18.2", u.OptHrs, "", ""},
        {"18.21", u.OptHrs, "Invalid time period", hoursHigh},
        {"1e300", u.OptHrs, "Invalid time period", hoursHigh},
        {"0.1", u.OptHrs, "", ""},
        {"0.09", u.OptHrs, "Logging Duration", hoursLow},
        {"-1", u.OptHrs, "Logging Duration", hoursLow},
        {"1092", u.OptMins, "", ""},
        {"1092.5", u.OptMins, "Minutes Duration", minutes},
        {"0.1", u.OptMins, "", ""},
        {"0.09", u.OptMins, "Minutes Duration", minutes},
        {"-5", u.OptMins, "Minutes Duration", minutes},
        {"3600", u.OptSecs, "", ""},
        {"3601", u.OptSecs, "Seconds Duration", secs},
        {"0.5", u.OptSecs, "Seconds Duration", secs},
        {"-5", u.OptSecs, "Seconds Duration", secs},
        {"0.0", u.OptSecs, "Seconds Duration", secs},
        {"0.0", u.OptMins, "Minutes Duration", minutes},
        {"10", u.OptSecs, "", ""},
    };
    dialogs.allow("Long Logging Duration");
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " " + unitName(c.unit).toStdString());
        const size_t boxes = dialogs.shown().size();
        const bool accepted = QString(c.title).isEmpty();
        if (!accepted)
            dialogs.expect(c.title);
        choose(c.typed, c.unit);
        if (accepted) {
            EXPECT_TRUE(c.unit->isChecked());
            EXPECT_EQ(ui().TxtScanPeriod->text(), c.typed);
            EXPECT_DOUBLE_EQ(setup().scanPeriodValue, QString(c.typed).toDouble());
            EXPECT_TRUE(ui().LblUserMessage->text().contains(" Max Scans - Max Duration is "));
            EXPECT_TRUE(ui().LblUserMessage->isVisibleTo(window.get()));
        } else {
            ASSERT_EQ(dialogs.shown().size(), boxes + 1);
            EXPECT_EQ(dialogs.shown().back().text, c.text);
            EXPECT_FALSE(c.unit->isChecked());
            EXPECT_EQ(ui().TxtScanPeriod->text(), "");
            EXPECT_EQ(setup().scanPeriodValue, 0.0);
            EXPECT_TRUE(ui().TxtScanPeriod->hasFocus());
            EXPECT_EQ(ui().LblUserMessage->isVisibleTo(window.get()), c.text != std::string(hoursHigh));
        }
    }
}

TEST_F(SetupTab, AcceptedUnitsAreSavedAndGiveThePeriodInSeconds)
{
    const std::tuple<const char *, QRadioButton *, const char *, qint32> cases[] = {
        {"2", ui().OptHrs, "Hrs", 7200},
        {"2.5", ui().OptMins, "Min", 150},
        {"12.5", ui().OptSecs, "Sec", 12},
    };
    for (const auto &[typed, unit, saved, seconds] : cases) {
        SCOPED_TRACE(typed);
        choose(typed, unit);
        EXPECT_EQ(startup.get("ScanPeriodUnit", "<none>"), saved);
        EXPECT_EQ(setup().periodSeconds, seconds);
    }
}

TEST_F(SetupTab, MaxScansAndDurationFollowTheChannelsAndTheMonitor)
{
    ASSERT_EQ(setup().highestChannel, 4);
    click(ui().OptMonitorOff);
    EXPECT_EQ(ui().lblMonitorOff->text(), "Monitor OFF");
    choose("1", ui().OptMins);
    EXPECT_EQ(ui().LblUserMessage->text(), "4095 Max Scans - Max Duration is 2:20:15:00 (D:H:M:S)");

    click(ui().OptMonitorCh3);
    EXPECT_EQ(ui().lblMonitorOff->text(), "Monitor On");
    EXPECT_EQ(ui().LblUserMessage->text(), "Enter desired time unit") << "the unit is cleared";
    choose("1", ui().OptMins);
    EXPECT_EQ(ui().LblUserMessage->text(), "2730 Max Scans - Max Duration is 1:21:30:00 (D:H:M:S)");

    // Channels 1 and 3: the highest channel counts, not how many there are.
    click(ui().OptMonitorOff);
    click(ui().lblActCh2);
    click(ui().lblActCh4);
    choose("1", ui().OptMins);
    EXPECT_EQ(setup().highestChannel, 3);
    EXPECT_EQ(setup().maxScans, 5460);
}

TEST_F(SetupTab, LongHourPeriodsShowTheTrueDurationAndWarnAboutTheBattery)
{
    // 65,499 scans of 18.2 hours do not fit 32 bits of seconds.
    setup().memorySize = 65500 * 2 * 6;
    dialogs.expect("Long Logging Duration");
    choose("18.2", ui().OptHrs);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Exceptionally long logging period, ensure battery is fresh");
    EXPECT_EQ(dialogs.shown()[0].icon, int(Dialogs::Information));
    EXPECT_EQ(ui().LblUserMessage->text(), "65499 Max Scans - Max Duration is 49670:01:48:00 (D:H:M:S)");

    // One scan more reaches the cap: 10 scans.
    setup().memorySize = 65501 * 2 * 6 + 6;
    choose("18.2", ui().OptHrs);
    EXPECT_EQ(setup().maxScans, 10);
    EXPECT_EQ(ui().LblUserMessage->text(), "10 Max Scans - Max Duration is 7:14:00:00 (D:H:M:S)");
}

TEST_F(SetupTab, ShortSecondsAskFirstAndCancelLeavesTheFiguresAsTheyWere)
{
    click(ui().OptMonitorOff);
    choose("1", ui().OptMins);
    const qint32 scans = setup().maxScans;

    dialogs.expect("Short Duration", Dialogs::Cancel);
    choose("5", ui().OptSecs);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const ScriptedDialogs::Box &box = dialogs.shown()[0];
    EXPECT_EQ(box.buttons, int(Dialogs::OkCancel));
    EXPECT_EQ(box.text, "At a rate less than 10 Secs" + Cr + "communication with the Logger" + Cr
                            + "will be unreliable." + Cr + "Status/Error information will be lost." + Cr
                            + "\n" + Cr + "Do you want to continue at the" + Cr + "rate of 5 Secs?");
    EXPECT_EQ(ui().LblUserMessage->text(), "Enter desired time unit");
    EXPECT_EQ(setup().maxScans, scans);
    EXPECT_EQ(setup().periodSeconds, 60);
    EXPECT_EQ(startup.get("ScanPeriodUnit", "<none>"), "Sec") << "the unit stays saved";

    dialogs.expect("Short Duration", Dialogs::Ok);
    choose("2.5", ui().OptSecs);
    EXPECT_TRUE(dialogs.shown().back().text.endsWith("rate of 2.5 Secs?"));
    EXPECT_EQ(ui().LblUserMessage->text(), "4095 Max Scans - Max Duration is 0:02:16:30 (D:H:M:S)");
}

TEST_F(SetupTab, StartNowPlansFromNowAndTheStartDelayAndTheClockMovesThePlanOn)
{
    click(ui().OptMonitorOff);
    choose("1", ui().OptMins);
    EXPECT_TRUE(ui().OptStartNow->isChecked());
    EXPECT_EQ(ui().LblStartTime->text(), now(15));
    EXPECT_EQ(ui().LblStopTime->text(), now(15 + 4095 * 60));
    EXPECT_EQ(startup.get("LowPowerMode", "<none>"), "False");

    loop.advanceSeconds(15);
    const QDateTime tick = window->state().localNow;
    ASSERT_GT(tick, loop.now().addSecs(-15));
    EXPECT_EQ(ui().LblStartTime->text(), ClockDisplay::dateTimeText(tick));
    EXPECT_EQ(ui().LblStopTime->text(), ClockDisplay::dateTimeText(tick.addSecs(4095 * 60)));

    // Every tick works the duration out anew: with the unit cleared there is no period.
    click(ui().lblActCh5);
    ASSERT_EQ(setup().periodSeconds, 60);
    loop.advanceSeconds(15);
    EXPECT_EQ(setup().periodSeconds, 0);
}

TEST_F(SetupTab, StartNowWithoutAUnitSaysTheSettingsAreIncorrect)
{
    choose("1", ui().OptMins);
    click(ui().lblActCh5);
    ASSERT_FALSE(ui().OptMins->isChecked());

    dialogs.expect("Incorrect settings");
    click(ui().OptStartNow);

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Incorrect setting. Please verify that desired channels selected, "
                                       "Scan period input and time period selected.");
    EXPECT_FALSE(ui().OptStartNow->isChecked());
    EXPECT_EQ(ui().LblStartTime->text(), "");
    EXPECT_EQ(ui().LblStopTime->text(), "");
}

TEST_F(SetupTab, SetLowPowerModeSetsTheLongestPeriodAndKeepsItsTimes)
{
    dialogs.allow("Long Logging Duration");
    click(ui().cmdLowPower);

    EXPECT_EQ(ui().TxtScanPeriod->text(), "18.2");
    EXPECT_TRUE(ui().OptHrs->isChecked());
    EXPECT_EQ(ui().TxtProjIdent->text(), "Logger set to Lowest Power mode. Remove Battery for storage!");
    EXPECT_EQ(setup().projectIdent, ui().TxtProjIdent->text());
    EXPECT_EQ(ui().LblStartTime->text(), "");
    EXPECT_EQ(ui().LblStopTime->text(), "");
    EXPECT_EQ(ui().LblLastStartTime->text(), ClockDisplay::dateTimeText(setup().startTime));
    EXPECT_EQ(ui().LblLastStopTime->text(), ClockDisplay::dateTimeText(setup().stopTime));
    EXPECT_EQ(setup().periodSeconds, 65520);
    EXPECT_FALSE(ui().OptUseLast->isChecked());
    EXPECT_FALSE(ui().OptUseLast->isEnabled());
    EXPECT_FALSE(ui().cmdSetDates->isEnabled());
    EXPECT_TRUE(window->state().lowPowerModeSelected);
    EXPECT_EQ(startup.get("LowPowerMode", "<none>"), "True");
    EXPECT_EQ(startup.get("ScanPeriod", "<none>"), "18.2");
    EXPECT_EQ(startup.get("ScanPeriodUnit", "<none>"), "Hrs");
}

TEST_F(SetupTab, ATemperatureSensorIsRefusedAsMonitor)
{
    ASSERT_EQ(setup().monitorChannel, 1);
    ASSERT_TRUE(connection.header.channel[1].modelNumber.contains("TMP"));
    dialogs.expect("Monitor Channel Information");

    click(ui().OptMonitorCh2);

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "TMP Sensors are not allowed as monitors.");
    EXPECT_EQ(dialogs.shown()[0].icon, int(Dialogs::Information));
    EXPECT_EQ(setup().monitorChannel, 1);
    EXPECT_TRUE(ui().OptMonitorCh1->isChecked());
    EXPECT_FALSE(ui().OptMonitorCh2->isChecked());

    // A channel that is not selected becomes selected as the monitor.
    click(ui().lblActCh4);
    ASSERT_EQ(setup().channelSelect[4], 0.0f);
    click(ui().OptMonitorCh4);
    EXPECT_EQ(setup().monitorChannel, 4);
    EXPECT_EQ(setup().channelSelect[4], SetupState::Selected);
    EXPECT_EQ(setup().channelSelect[9], SetupState::Selected);
    EXPECT_EQ(setup().channelSelect[10], SetupState::Selected);
}

TEST_F(SetupTab, EnteringTheTabStartsTheFormAfresh)
{
    choose("1", ui().OptMins);
    ASSERT_FALSE(ui().LblStartTime->text().isEmpty());
    connection.header.firmwareVersion = "Z522";

    ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    ui().SSTab1->setCurrentIndex(MainTab::Setup);

    EXPECT_EQ(ui().TxtScanPeriod->text(), "");
    EXPECT_FALSE(ui().OptMins->isChecked());
    EXPECT_EQ(setup().scanPeriodValue, 0.0);
    EXPECT_EQ(setup().periodSeconds, 0);
    EXPECT_EQ(ui().TxtProjIdent->text(), "");
    EXPECT_EQ(ui().LblStartTime->text(), "");
    EXPECT_EQ(ui().LblStopTime->text(), "");
    EXPECT_EQ(ui().LblUserMessage->text(), "");
    EXPECT_TRUE(ui().OptStartNow->isChecked());
    EXPECT_TRUE(ui().fraRemoteDisplay->isVisibleTo(window.get()));
    EXPECT_TRUE(ui().chkRemoteDisplay->isChecked());

    connection.header.firmwareVersion = "Z823";
    ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
    ui().SSTab1->setCurrentIndex(MainTab::Setup);
    EXPECT_FALSE(ui().fraRemoteDisplay->isVisibleTo(window.get()));
    EXPECT_FALSE(ui().chkRemoteDisplay->isChecked());
}

TEST_F(SetupTab, TheHeaderReadClearsTheCalibrationIntervalAndCountsTheScans)
{
    // Channels 1-4 and a monitor: six readings of two bytes a scan.
    const double memory = connection.header.memoryInstalled;
    ASSERT_GT(memory, 0);
    EXPECT_EQ(ui().TxtSetCalInt->text(), "0");
    EXPECT_FALSE(ui().fraCalScan->isVisibleTo(window.get()));
    ui().fraCalScan->show();
    ui().TxtSetCalInt->setText("12");
    setup().maxScans = 0;
    logger.unplug();
    loop.advanceSeconds(30);
    ASSERT_FALSE(connection.state.loggerConnected);
    logger.plugIn();
    loop.advanceSeconds(30);
    ASSERT_TRUE(connection.header.headerValid);
    EXPECT_EQ(ui().TxtSetCalInt->text(), "0");
    EXPECT_FALSE(ui().fraCalScan->isVisibleTo(window.get()));
    EXPECT_EQ(setup().maxScans, qint32(std::nearbyint(memory / 6 / 2 - 1)));
}

TEST_F(SetupTab, CalibrationScansShareTheMemoryAndShowTheirInterval)
{
    ui().fraCalScan->show();
    click(ui().OptMonitorOff);
    struct Case
    {
        const char *typed;
        const char *kept;
        const char *shown;
        qint32 scans;
    };
    const Case cases[] = {
        {"10", "10", "0:00:10:00 (D:H:M:S)", 2919},
        {"0", "0", "No Cals", 4095},
        {"-3", "0", "No Cals", 4095},
        {"abc", "0", "No Cals", 4095},
        {"999", "255", "0:04:15:00 (D:H:M:S)", 4026},
        {"9.5", "10", "0:00:10:00 (D:H:M:S)", 2919},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        click(ui().TxtSetCalInt);
        ui().TxtSetCalInt->selectAll();
        QTest::keyClicks(ui().TxtSetCalInt, c.typed);
        choose("1", ui().OptMins);
        EXPECT_EQ(ui().TxtSetCalInt->text(), c.kept);
        EXPECT_EQ(ui().LblCalIntDisp->text(), c.shown);
        EXPECT_EQ(setup().maxScans, c.scans);
        EXPECT_EQ(setup().calIntervalText, QString(c.kept).rightJustified(4, '0'));
    }
}

TEST_F(SetupTab, TheStartDelayTakesOneTo254AsTypedAndClampsTheRest)
{
    struct Case
    {
        const char *typed;
        const char *message; // empty: none
        const char *kept;
        qint32 seconds;
    };
    const Case cases[] = {
        {"300", "Entry must be less than 255.", "254", 254},
        {"0.5", "Entry must be greater than one.", "1", 1},
        {"0", "Entry must be greater than one.", "1", 1},
        {"-3", "Entry must be greater than one.", "1", 1},
        {"", "Entry must be numeric.", "1", 1},
        {"abc", "Entry must be numeric.", "1", 1},
        {"1,5", "Entry must be numeric.", "1", 1},
        {"1e9", "Entry must be less than 255.", "254", 254},
        {"2.5", "", "2.5", 2},
        {"254", "", "254", 254},
        {"1", "", "1", 1},
    };
    ui().SSTab1->setCurrentIndex(MainTab::Defaults);
    QLineEdit *field = ui().txtWaits;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const bool refused = QString(c.message).size() > 0;
        if (refused)
            dialogs.expect("Wait Period");
        const size_t boxes = dialogs.shown().size();
        click(field);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, c.typed);
        leaveWithTab(field);
        if (refused) {
            ASSERT_EQ(dialogs.shown().size(), boxes + 1);
            EXPECT_EQ(dialogs.shown().back().text, c.message);
            EXPECT_TRUE(field->hasFocus()) << "the field takes the focus after the message";
        } else {
            EXPECT_EQ(dialogs.shown().size(), boxes);
        }
        EXPECT_EQ(field->text(), c.kept);
        EXPECT_EQ(startup.get("WaitPeriod", "<none>"), c.kept);
        EXPECT_EQ(window->state().waitSeconds, c.seconds);
        field->clearFocus();
    }
}

TEST_F(SetupTab, UseLastTakesTheKeptStartAndStop)
{
    setup().lastStartTime = QDateTime(QDate(2011, 9, 23), QTime(10, 0));
    setup().lastStopTime = QDateTime(QDate(2011, 9, 30), QTime(12, 30));
    // Nothing offers the option yet; the test does, to reach its handler.
    ui().OptUseLast->setEnabled(true);

    click(ui().OptUseLast);

    EXPECT_EQ(setup().startTime, setup().lastStartTime);
    EXPECT_EQ(setup().stopTime, setup().lastStopTime);
    EXPECT_EQ(ui().LblLastStartTime->text(), "2011 09 23 10:00:00");
    EXPECT_EQ(ui().LblLastStopTime->text(), "2011 09 30 12:30:00");
}
