#include "tests/console/LoggerWindowFixture.h"

#include "calibration/FrmpHRemDispSetup.h"
#include "console/MainTab.h"
#include "logger/FunctionsSubs.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"
#include "ui_FrmpHRemDispSetup.h"

#include <QAccessible>
#include <QTest>

namespace {

constexpr int Lines[] = {0x0640, 0x0650, 0x0660, 0x0670};

// The pH logger with other digits at the end of the four lines than its
// calibration gives, so that every line written shows in its memory.
LoggerImage phLogger()
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Ph, VirtualEventLoop().now());
    for (int line : Lines)
        image.header.replace(line + 12, 4, "0000");
    return image;
}

} // namespace

// Initialize Logger on a logger that drives a pH remote display: the window
// opens before the confirmation, and the operator answers it as at the bench.
// The confirmation is then cancelled, so the only header lines written are
// the window's.
class PhRemoteDisplayWindow : public LoggerWindowFixture
{
protected:
    PhRemoteDisplayWindow()
        : LoggerWindowFixture(phLogger())
    {
    }

    void SetUp() override
    {
        openOnSetupTab();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(ui().chkRemoteDisplay->isChecked());
        ASSERT_TRUE(ui().chkRemoteDisplay->isEnabled());
        for (int line : Lines)
            before.push_back(headerLine(line));
    }

    // The 16 characters of a header line in the logger's memory.
    QString headerLine(int address) const
    {
        return QString::fromLatin1(logger.image().header.mid(address, 16));
    }

    void choosePeriod(const QString &period, QRadioButton *unit)
    {
        QLineEdit *field = ui().TxtScanPeriod;
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, period);
        QTest::mouseClick(unit, Qt::LeftButton, {}, QPoint(6, unit->height() / 2));
    }

    // Answers the pH window with `operate` when it opens.
    void answerPhWindow(std::function<void(FrmpHRemDispSetup &)> operate)
    {
        dialogs.onModal([this, operate](QObject *object) {
            auto *ph = qobject_cast<FrmpHRemDispSetup *>(object);
            if (!ph) {
                ADD_FAILURE() << "not the pH window: " << object->objectName().toStdString();
                return 0;
            }
            ++opened;
            ph->show();
            openedAs = {ph->ui().txtPH4->text(), ph->ui().txtPH7->text(),
                        ph->ui().cmdRemDispSetupDone->text(), ph->ui().lblRemDispSetup->text()};
            perfectTickedAtOpening = ph->ui().ChkUsePerfectSensor->isChecked();
            operate(*ph);
            closed = ph->isHidden();
            ph->hide();
            return ph->result();
        });
    }

    static void type(QLineEdit *box, const QString &text)
    {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, text);
    }

    // Types the counts and presses the button.
    static void enterCounts(FrmpHRemDispSetup &ph, const QString &ph4, const QString &ph7)
    {
        type(ph.ui().txtPH4, ph4);
        type(ph.ui().txtPH7, ph7);
        QTest::mouseClick(ph.ui().cmdRemDispSetupDone, Qt::LeftButton);
    }

    // Initialize Logger, cancelled at its confirmation.
    void initialize()
    {
        dialogs.allow("Monitor Channel Warning--Battery Power");
        dialogs.allow("Up-load message", Dialogs::Cancel);
        port.forget();
        ui().CmdInitialize->click();
        wire = port.writtenText();
    }

    // The four lines as the window must write them: each keeps its first
    // 12 characters and ends with its four digits.
    void expectWritten(const QString &slopeDigits, const QString &offsetDigits)
    {
        const QString digits = slopeDigits + offsetDigits;
        for (int i = 0; i < 4; ++i) {
            const QString address = fnHex4(Lines[i]);
            const QString line = before[i].left(12) + digits.mid(4 * i, 4);
            ASSERT_NE(line, before[i]) << "the line must change";
            EXPECT_TRUE(wire.contains("c" + address + "|")) << address.toStdString() << " read";
            EXPECT_TRUE(wire.contains("d" + address + "#" + line)) << line.toStdString() << "\n"
                                                                   << wire.toStdString();
            EXPECT_EQ(headerLine(Lines[i]), line) << address.toStdString();
        }
        EXPECT_EQ(wire.count("|d06"), 4) << "no other line of channel 1: " << wire.toStdString();
    }

    void expectNothingWritten()
    {
        EXPECT_FALSE(wire.contains("d06")) << wire.toStdString();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(headerLine(Lines[i]), before[i]);
    }

    const ScriptedDialogs::Box *box(const QString &title) const
    {
        for (const ScriptedDialogs::Box &b : dialogs.shown())
            if (b.title == title)
                return &b;
        return nullptr;
    }

    struct Opening
    {
        QString ph4, ph7, caption, instructions;
    };

    std::vector<QString> before;
    QString wire;
    int opened = 0;
    bool closed = false;
    bool perfectTickedAtOpening = true;
    Opening openedAs;
};

TEST_F(PhRemoteDisplayWindow, CountsOfTheTwoBuffersGoToChannel1sFourLines)
{
    choosePeriod("2", ui().OptMins);
    QString caption;
    answerPhWindow([&](FrmpHRemDispSetup &ph) {
        caption = ph.windowTitle();
        ui().SSTab1->setCurrentIndex(MainTab::DataLogger);
        enterCounts(ph, "1000", "2000");
    });
    initialize();

    EXPECT_EQ(opened, 1);
    EXPECT_EQ(caption, "Remote Display & Alarm Setup");
    EXPECT_EQ(openedAs.ph4, "");
    EXPECT_EQ(openedAs.ph7, "");
    EXPECT_FALSE(perfectTickedAtOpening);
    EXPECT_EQ(openedAs.caption, "Click to Continue");
    EXPECT_EQ(openedAs.instructions,
              "For the Remote Display and Alarm functions to respond correctly,"
              "current calibration data for the installed pH sensor must be entered."
              "Otherwise the default calibration for a perfect sensor will be used.\r\n"
              "Either check the 'Use Perfect Sensor calibration' box,\r\n"
              "or enter the ADC Count values for pH 4.01 and 7.00 in the boxes below.");
    EXPECT_TRUE(closed) << "the window closes when the lines are written";
    EXPECT_EQ(box("RemDisp ScanInt"), nullptr) << "a 2-minute period needs no warning";
    EXPECT_EQ(ui().SSTab1->currentIndex(), int(MainTab::Setup));
    // 2.99 / 1000 = 0.00299 and 4.01 - 1000 x 0.00299 = 1.02.
    expectWritten("424C8B43", "011A1CAC");
}

TEST_F(PhRemoteDisplayWindow, ShortScanPeriodIsWarnedAboutAndTheSetupStillCompletes)
{
    dialogs.allow("Short Duration");
    choosePeriod("5", ui().OptSecs);
    ASSERT_EQ(window->setup().periodSeconds, 5);
    answerPhWindow([](FrmpHRemDispSetup &ph) { enterCounts(ph, "1000", "2000"); });
    dialogs.expect("RemDisp ScanInt");
    initialize();

    const ScriptedDialogs::Box *warning = box("RemDisp ScanInt");
    ASSERT_NE(warning, nullptr);
    EXPECT_EQ(warning->text, "Remote Display function will not operate properly\r\n"
                             "at scan intervals of less than 10 seconds.\r\n\r\n"
                             "Please Correct the specified Scan Interval if required.");
    EXPECT_EQ(warning->buttons, int(Dialogs::OkOnly));
    EXPECT_TRUE(closed);
    expectWritten("424C8B43", "011A1CAC");
}

// An empty box is reported, then counts as 0, whichever button is pressed.
TEST_F(PhRemoteDisplayWindow, EmptyPh4BoxIsReportedAndCountsAsZero)
{
    choosePeriod("2", ui().OptMins);
    for (int answer : {int(Dialogs::Ok), int(Dialogs::Cancel)}) {
        SCOPED_TRACE(answer);
        answerPhWindow([](FrmpHRemDispSetup &ph) { enterCounts(ph, "", "3000"); });
        dialogs.expect("Ph Data not entered", answer);
        initialize();

        const ScriptedDialogs::Box *empty = box("Ph Data not entered");
        ASSERT_NE(empty, nullptr);
        EXPECT_EQ(empty->text, "Use Default Perferct sensor is NOT checked, and No data is entered in Boxes.");
        EXPECT_EQ(empty->buttons, int(Dialogs::OkCancel));
        EXPECT_TRUE(closed);
        // 2.99 / 3000 and pH 4.01 at count 0.
        expectWritten("43FF258B", "0166A7EF");
    }
}

// A count out of range or in the wrong order ends the command with its box;
// the window stays open and nothing is written. Escape then skips the setup.
TEST_F(PhRemoteDisplayWindow, RefusedCountsWriteNothing)
{
    const struct
    {
        const char *ph4, *ph7;
        const char *title, *text;
    } cases[] = {
        {"1000", "5000", "pH7 ADC's wrong.", "Values for ADC counts for pH = 7 must be between 0 and 4096"},
        {"-1", "2000", "pH4 ADC's wrong.", "Values for ADC counts for pH = 4 must be between 0 and 4096"},
        {"1e39", "2000", "pH4 ADC's wrong.", "Values for ADC counts for pH = 4 must be between 0 and 4096"},
        {"2000", "2000", "pH4-7 ADC's reversed.", "Values for ADC counts for pH = 7 and pH 4 are reversed."},
        {"2500", "1000", "pH4-7 ADC's reversed.", "Values for ADC counts for pH = 7 and pH 4 are reversed."},
    };
    choosePeriod("2", ui().OptMins);
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.ph4) + " / " + c.ph7);
        QString captionAfter;
        bool openAfter = false;
        answerPhWindow([&](FrmpHRemDispSetup &ph) {
            enterCounts(ph, c.ph4, c.ph7);
            captionAfter = ph.ui().cmdRemDispSetupDone->text();
            openAfter = ph.isVisible();
            QTest::keyClick(&ph, Qt::Key_Escape);
        });
        dialogs.expect(c.title);
        initialize();

        const ScriptedDialogs::Box *refusal = box(c.title);
        ASSERT_NE(refusal, nullptr);
        EXPECT_EQ(refusal->text, c.text);
        EXPECT_EQ(refusal->buttons, int(Dialogs::OkCancel));
        EXPECT_TRUE(openAfter);
        EXPECT_EQ(captionAfter, "Please Wait a Moment");
        EXPECT_TRUE(closed) << "Escape closes the window";
        EXPECT_TRUE(box("Up-load message")) << "the initialization goes on without the pH setup";
        expectNothingWritten();
    }
}

// The boxes are not read: the channel's own calibration goes to the lines.
TEST_F(PhRemoteDisplayWindow, PerfectSensorWritesChannel1sOwnSlopeAndOffset)
{
    choosePeriod("2", ui().OptMins);
    answerPhWindow([](FrmpHRemDispSetup &ph) {
        QTest::mouseClick(ph.ui().ChkUsePerfectSensor, Qt::LeftButton, {},
                          QPoint(6, ph.ui().ChkUsePerfectSensor->height() / 2));
        enterCounts(ph, "1500", "9999");
    });
    initialize();

    const ChannelCalRecord &channel1 = connection.header.channel[0];
    const QString slope = fnFloatToHexFP(channel1.slope.value);
    const QString offset = fnFloatToHexFP(channel1.offset.value);
    EXPECT_NE(slope, "42330781") << "not the slope of the counts typed";
    EXPECT_EQ(box("pH7 ADC's wrong."), nullptr);
    EXPECT_TRUE(closed);
    expectWritten(slope, offset);
}

// Closing the window without its button skips the setup.
TEST_F(PhRemoteDisplayWindow, EscapeSkipsTheSetupAndTheInitializationGoesOn)
{
    choosePeriod("2", ui().OptMins);
    answerPhWindow([](FrmpHRemDispSetup &ph) {
        type(ph.ui().txtPH4, "1000");
        QTest::keyClick(&ph, Qt::Key_Escape);
    });
    initialize();
    EXPECT_TRUE(closed);
    EXPECT_TRUE(box("Up-load message"));
    EXPECT_FALSE(wire.contains("c06")) << wire.toStdString();
    expectNothingWritten();
}

// Escape while the lines are being written does not leave them half written.
TEST_F(PhRemoteDisplayWindow, WindowStaysOpenWhileTheLinesAreWritten)
{
    choosePeriod("2", ui().OptMins);
    bool openWhileWriting = false;
    QString captionWhileWriting;
    answerPhWindow([&](FrmpHRemDispSetup &ph) {
        type(ph.ui().txtPH4, "1000");
        type(ph.ui().txtPH7, "2000");
        loop.post([&] {
            QTest::keyClick(&ph, Qt::Key_Escape);
            openWhileWriting = ph.isVisible();
            captionWhileWriting = ph.ui().cmdRemDispSetupDone->text();
        });
        QTest::mouseClick(ph.ui().cmdRemDispSetupDone, Qt::LeftButton);
    });
    initialize();
    EXPECT_TRUE(openWhileWriting);
    EXPECT_EQ(captionWhileWriting, "Please Wait a Moment");
    EXPECT_TRUE(closed);
    expectWritten("424C8B43", "011A1CAC");
}

// Another sequence has the link (a header read still under way): the lines
// are not interleaved with it; the operator is asked to try again.
TEST_F(PhRemoteDisplayWindow, BusyLinkWritesNothing)
{
    choosePeriod("2", ui().OptMins);
    QString captionAfter;
    answerPhWindow([&](FrmpHRemDispSetup &ph) {
        dialogs.expect("Logger Busy");
        enterCounts(ph, "1000", "2000");
        captionAfter = ph.ui().cmdRemDispSetupDone->text();
        QTest::keyClick(&ph, Qt::Key_Escape);
    });
    dialogs.allow("Monitor Channel Warning--Battery Power");
    dialogs.allow("Up-load message", Dialogs::Cancel);
    port.forget();
    ASSERT_TRUE(connection.link.sequences().runCommand([&] { ui().CmdInitialize->click(); }));
    wire = port.writtenText();
    ASSERT_NE(box("Logger Busy"), nullptr);
    EXPECT_EQ(box("Logger Busy")->text,
              "The logger is still being read.\rPlease wait until its data is shown, then try again.");
    EXPECT_EQ(captionAfter, "Click to Continue");
    EXPECT_FALSE(wire.contains("c06")) << wire.toStdString();
    expectNothingWritten();
}

TEST_F(PhRemoteDisplayWindow, UntickedBoxOpensNoWindow)
{
    choosePeriod("2", ui().OptMins);
    QTest::mouseClick(ui().chkRemoteDisplay, Qt::LeftButton, {},
                      QPoint(6, ui().chkRemoteDisplay->height() / 2));
    ASSERT_FALSE(ui().chkRemoteDisplay->isChecked());
    dialogs.onModal([](QObject *object) {
        ADD_FAILURE() << "a window was opened: " << object->objectName().toStdString();
        return 0;
    });
    initialize();
    EXPECT_TRUE(box("Up-load message"));
    expectNothingWritten();
}

// A line that cannot be read is never written with what the failed read left;
// as the slope and offset each span two lines, none of the four is written.
TEST_F(PhRemoteDisplayWindow, LineThatCannotBeReadLeavesAllFourAsTheyWere)
{
    choosePeriod("2", ui().OptMins);
    QString captionAfter;
    answerPhWindow([&](FrmpHRemDispSetup &ph) {
        // 0640 is read; every answer after it is corrupted.
        logger.faults().silenceAfterLines(1);
        dialogs.expect("Remote Display Setup Failed");
        enterCounts(ph, "1000", "2000");
        captionAfter = ph.ui().cmdRemDispSetupDone->text();
        logger.faults().clear();
        QTest::keyClick(&ph, Qt::Key_Escape);
    });
    initialize();

    const ScriptedDialogs::Box *failure = box("Remote Display Setup Failed");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->text, "Line 0650 of channel 1 could not be read from the logger.\r\n"
                             "Nothing was written: the remote display keeps its previous calibration.");
    EXPECT_EQ(captionAfter, "Click to Continue") << "the operator may try again";
    expectNothingWritten();
}

// The logger stops answering after two of the four lines were written: the
// operator is told which line was not taken.
TEST_F(PhRemoteDisplayWindow, LoggerThatStopsAnsweringDuringTheWritesIsReported)
{
    choosePeriod("2", ui().OptMins);
    answerPhWindow([&](FrmpHRemDispSetup &ph) {
        // Four reads, then each write with its read-back: 0660 gets no answer.
        logger.faults().silenceAfterLines(8);
        dialogs.expect("Remote Display Setup Failed");
        enterCounts(ph, "1000", "2000");
        logger.faults().clear();
        QTest::keyClick(&ph, Qt::Key_Escape);
    });
    initialize();

    const ScriptedDialogs::Box *failure = box("Remote Display Setup Failed");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->text, "The logger did not take line 0660 of channel 1; it and the lines after it were "
                             "not written.\r\n"
                             "The remote display calibration is incomplete: please set it up again.");
    EXPECT_TRUE(wire.contains("d0650#" + before[1].left(12) + "8B43")) << wire.toStdString();
    EXPECT_FALSE(wire.contains("d0670")) << wire.toStdString();
    EXPECT_EQ(headerLine(0x0650), before[1].left(12) + "8B43");
    EXPECT_EQ(headerLine(0x0660), before[2]);
    EXPECT_EQ(headerLine(0x0670), before[3]);
}

TEST_F(PhRemoteDisplayWindow, EveryControlIsNamedByItsCaption)
{
    FrmpHRemDispSetup ph({connection, dialogs, window->setup(), *ui().SSTab1});
    Ui::FrmpHRemDispSetup &u = ph.ui();
    EXPECT_EQ(u.lblPH4->buddy(), u.txtPH4);
    EXPECT_EQ(u.lblPH7->buddy(), u.txtPH7);
    EXPECT_EQ(u.lblPH4->text(), "Enter ADC's for sensor in pH 4 buffer:");
    EXPECT_EQ(u.lblPH7->text(), "Enter ADC's for sensor in pH 7 buffer:");
    EXPECT_EQ(u.txtPH4->accessibleName(), u.lblPH4->text());
    EXPECT_EQ(u.txtPH7->accessibleName(), u.lblPH7->text());
    EXPECT_EQ(u.ChkUsePerfectSensor->text(), "Use \"Perfect\" Sensor calibration Data");
    EXPECT_EQ(u.ChkUsePerfectSensor->accessibleName(), u.ChkUsePerfectSensor->text());
    EXPECT_EQ(u.cmdRemDispSetupDone->text(), "Click to Proceed");
    dialogs.onModal([&](QObject *) {
        QTest::mouseClick(u.cmdRemDispSetupDone, Qt::LeftButton);
        EXPECT_EQ(u.cmdRemDispSetupDone->text(), "Please Wait a Moment");
        EXPECT_EQ(u.cmdRemDispSetupDone->accessibleName(), "Please Wait a Moment");
        return 0;
    });
    dialogs.expect("RemDisp ScanInt");
    dialogs.expect("Ph Data not entered");
    dialogs.expect("pH4-7 ADC's reversed.");
    EXPECT_FALSE(ph.showModal());
    EXPECT_EQ(u.cmdRemDispSetupDone->accessibleName(), "Please Wait a Moment");
}
