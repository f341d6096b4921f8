#include "tests/console/MainWindowFixture.h"

#include "console/ClockDisplay.h"
#include "tests/support/ScopedTimeZone.h"

#include <QDir>

class Clocks : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        QDir().mkpath(dataFolder);
        store("DefaultPath", dataFolder);
        store("CommPortNum", "1");
    }
    void typeDelta(const QString &text)
    {
        window->ui().TxtGMTDelta->setText(text);
        window->clocks().TxtGMTDelta_LostFocus();
    }
};

TEST_F(Clocks, LocalAndGmtDisplaysFollowTheDelta)
{
    store("GMTDelta", "8");
    load(); // virtual clock starts at 2011-09-23 10:00:00
    const Ui::FrmStartup &ui = window->ui();
    EXPECT_EQ(ui.TxtGMTDelta->text(), "8");
    EXPECT_EQ(ui.LblLocalDisp->text(), "2011 09 23 10:00:00");
    EXPECT_EQ(ui.LblGMTDisp->text(), "2011 09 23 18:00:00");
    EXPECT_EQ(ui.LblSystemDateDisp->text(), "2011 09 23");
    EXPECT_EQ(ui.LblSystemTimeDisp->text(), "10:00:00");
    EXPECT_EQ(ui.LblGMTDateDisp->text(), "2011 09 23");
    EXPECT_EQ(ui.LblGMTTimeDisp->text(), "18:00:00");

    typeDelta("-8");
    EXPECT_EQ(ui.LblGMTDisp->text(), "2011 09 23 02:00:00");
    EXPECT_EQ(stored("GMTDelta"), "-8");

    typeDelta("15");
    EXPECT_EQ(ui.LblGMTDisp->text(), "2011 09 24 01:00:00") << "GMT crosses midnight";
}

TEST_F(Clocks, DeltaRoundsHalvesToEvenAndIgnoresJunk)
{
    load();
    const struct
    {
        const char *typed;
        const char *saved;
    } cases[] = {{"2.5", "2"}, {"3.5", "4"}, {"-2.5", "-2"}, {" 5 ", "5"}, {"x", "5"}, {"99", "5"}};
    for (const auto &c : cases) {
        typeDelta(c.typed);
        EXPECT_EQ(stored("GMTDelta"), c.saved) << c.typed;
        EXPECT_EQ(window->ui().TxtGMTDelta->text(), c.saved) << c.typed;
    }
    EXPECT_EQ(dialogs.beeps(), 2);
}

TEST_F(Clocks, TickEveryFifteenSecondsRefreshesTheDisplays)
{
    load();
    window->ui().LblStartTime->setText("x");
    loop.advanceSeconds(14);
    EXPECT_EQ(window->ui().LblLocalDisp->text(), "2011 09 23 10:00:00");
    loop.advanceSeconds(1);
    EXPECT_EQ(window->ui().LblLocalDisp->text(), "2011 09 23 10:00:15");
    EXPECT_EQ(window->ui().LblStartTime->text(), "2011 09 23 10:00:15");
    EXPECT_TRUE(window->ui().LblStopTime->text().isEmpty()) << "an empty stop time stays empty";
}

TEST_F(Clocks, TickMovesThePlannedStopOnByTheLoggingDuration)
{
    load();
    Ui::FrmStartup &ui = window->ui();
    ui.LblStartTime->setText("x");
    ui.LblStopTime->setText("x");
    window->setup().durationSeconds = 90061; // 1 day, 1 hour, 1 minute and 1 second
    loop.advanceSeconds(15);
    EXPECT_EQ(ui.LblStartTime->text(), "2011 09 23 10:00:15");
    EXPECT_EQ(ui.LblStopTime->text(), "2011 09 24 11:01:16");

    // A low-power setup keeps the times it was given.
    window->state().lowPowerModeSelected = true;
    loop.advanceSeconds(15);
    EXPECT_EQ(ui.LblStartTime->text(), "2011 09 23 10:00:15");
    EXPECT_EQ(ui.LblStopTime->text(), "2011 09 24 11:01:16");
    EXPECT_EQ(ui.LblLocalDisp->text(), "2011 09 23 10:00:30");
}

TEST_F(Clocks, SettingThePcDateAndTime)
{
    load();
    Ui::FrmStartup &ui = window->ui();
    ui.TxtSystemDateInp->setText("");
    window->clocks().TxtSystemDateInp_LostFocus();
    EXPECT_EQ(loop.now().date(), QDate(2011, 9, 23)) << "an empty field changes nothing";

    ui.TxtSystemDateInp->setText("2024-02-29");
    window->clocks().TxtSystemDateInp_LostFocus();
    EXPECT_EQ(loop.now(), QDateTime(QDate(2024, 2, 29), QTime(10, 0, 0)));
    EXPECT_EQ(ui.LblSystemDateDisp->text(), "2024 02 29");

    ui.TxtSystemTimeInp->setText("07:30:05");
    window->clocks().TxtSystemTimeInp_LostFocus();
    EXPECT_EQ(loop.now(), QDateTime(QDate(2024, 2, 29), QTime(7, 30, 5)));
    EXPECT_EQ(ui.LblLocalDisp->text(), "2024 02 29 07:30:05");

    dialogs.expect("Set System Date");
    ui.TxtSystemDateInp->setText("2023 02 30");
    window->clocks().TxtSystemDateInp_LostFocus();
    EXPECT_EQ(loop.now().date(), QDate(2024, 2, 29)) << "an impossible date leaves the clock";
}

TEST_F(Clocks, RefusedClockChangeIsReportedAndChangesNothing)
{
    load();
    loop.setClockSettable(false);
    dialogs.expect("Set System Time");
    window->ui().TxtSystemTimeInp->setText("23:59:00");
    window->clocks().TxtSystemTimeInp_LostFocus();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("Operation not permitted"));
    EXPECT_EQ(loop.now(), QDateTime(QDate(2011, 9, 23), QTime(10, 0, 0)));
    EXPECT_EQ(window->ui().LblSystemTimeDisp->text(), "10:00:00");
    EXPECT_EQ(window->ui().TxtSystemTimeInp->text(), "23:59:00") << "the entry stays for another try";
}

// Berlin's clocks, set before the window and its virtual clock exist.
struct BerlinClock
{
    ScopedTimeZone zone{"Europe/Berlin"};
};

class ClocksInBerlin : public BerlinClock, public Clocks
{
};

// On 2024-03-31 Berlin's clocks went from 02:00 to 03:00, on 2024-10-27 from
// 03:00 back to 02:00.
TEST_F(ClocksInBerlin, GmtAddsClockHoursAcrossADaylightSavingChange)
{
    load();
    const struct
    {
        QDateTime setTo; // 15 s before the tick
        const char *delta;
        const char *local;
        const char *gmt;
    } cases[] = {
        // The local reading jumps an hour between two ticks.
        {QDateTime(QDate(2024, 3, 31), QTime(1, 59, 55)), "-1", "2024 03 31 03:00:10",
         "2024 03 31 02:00:10"},
        // The hours added reach past the change.
        {QDateTime(QDate(2024, 3, 31), QTime(1, 29, 45)), "2", "2024 03 31 01:30:00",
         "2024 03 31 03:30:00"},
        {QDateTime(QDate(2024, 10, 27), QTime(1, 29, 45)), "2", "2024 10 27 01:30:00",
         "2024 10 27 03:30:00"},
    };
    for (const auto &c : cases) {
        typeDelta(c.delta);
        QString error;
        ASSERT_TRUE(loop.setSystemDateTime(c.setTo, &error));
        loop.advanceSeconds(15);
        EXPECT_EQ(window->ui().LblLocalDisp->text(), c.local);
        EXPECT_EQ(window->ui().LblGMTDisp->text(), c.gmt) << c.local;
        EXPECT_EQ(window->ui().LblGMTDateDisp->text() + ' ' + window->ui().LblGMTTimeDisp->text(),
                  c.gmt);
    }
}
