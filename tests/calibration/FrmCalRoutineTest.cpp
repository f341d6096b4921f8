#include "calibration/CalNumbers.h"
#include "calibration/ChannelBlock.h"
#include "console/MainTab.h"
#include "sim/LoggerPresets.h"
#include "tests/calibration/CalWindowFixture.h"
#include "tests/support/QStringPrinter.h"
#include "ui_FrmStartup.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QProgressBar>
#include <QSettings>

namespace {

const QString ClipLow = QStringLiteral("Channel will clip LOW data--Compare Calculation Results with EU at A");

class FrmCalRoutineTest : public CalWindowFixture
{
protected:
    FrmCalRoutineTest() : CalWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now())) {}

    // The two-point example: counts 0 and 4000 read as 0 and 4000.
    void typeExample()
    {
        const std::pair<int, const char *> values[] = {
            {7, "0"}, {8, "0"}, {9, "0"}, {10, "1000"}, {11, "4000"}, {12, "4000"},
            {13, "4000"}, {16, "1000"}, {17, "0"}, {18, "1"}, {2, "2027/06/30"},
        };
        for (auto [field, text] : values)
            type(field, QLatin1String(text));
    }
    void leaveChannelBox()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(calUi().TxtSensorNum, &out);
    }
    // The logger stops answering as soon as the line at address is written,
    // before it can confirm it.
    void silenceOnWriteOf(int address, const QString &text)
    {
        logger.setMemoryChangedHandler([this, address, text] {
            if (loggerLine(address) == text)
                logger.faults().silenceAfterLines(0);
        });
    }
    QStringList writesAt(int page) const
    {
        QStringList lines;
        for (const QString &w : textWrites()) {
            if (w.left(2).toInt(nullptr, 16) == page)
                lines << w;
        }
        return lines;
    }
};

} // namespace

// The channel box names one of the installed channels; anything else is put
// right with the box's message.
TEST_F(FrmCalRoutineTest, ChannelBoxIsValidated)
{
    openChannel(QStringLiteral("1"));
    const struct
    {
        const char *typed;
        const char *message;
        const char *shown;
        int index;
    } cases[] = {
        {"9", "Channel number greater than number of installed channels, please re-enter channel number.", "8", 7},
        {"0", "Channel number less than one, please re-enter channel number", "1", 0},
        {"abc", "Channel number less than one, please re-enter channel number", "1", 0},
        {"2.5", nullptr, "2.5", 2},
        {"3.5", nullptr, "3.5", 2},
        {"1e9", "Channel number greater than number of installed channels, please re-enter channel number.", "8", 7},
    };
    for (const auto &c : cases) {
        const size_t before = dialogs.shown().size();
        if (c.message)
            dialogs.expect(FrmCalRoutine::InvalidChannelTitle);
        type(1, QLatin1String(c.typed));
        leaveChannelBox();
        EXPECT_EQ(calUi().TxtSensorNum->text(), QLatin1String(c.shown)) << c.typed;
        EXPECT_EQ(cal().calChannel(), c.index) << c.typed;
        if (c.message) {
            ASSERT_EQ(dialogs.shown().size(), before + 1) << c.typed;
            EXPECT_EQ(dialogs.shown().back().text, QLatin1String(c.message));
            EXPECT_EQ(dialogs.shown().back().icon, Dialogs::Information);
        }
    }
}

// Loading shows the record as the header read it; leaving the channel box
// loads again, over whatever was typed.
TEST_F(FrmCalRoutineTest, LoadingShowsTheRecord)
{
    openChannel(QStringLiteral("2"));
    const ChannelCalRecord &record = connection.header.channel[1];
    EXPECT_EQ(box(19)->text(), record.slope.text);
    EXPECT_EQ(box(4)->text(), record.modelNumber);
    EXPECT_EQ(box(4)->text().size(), 8);
    EXPECT_EQ(box(15)->text(), QStringLiteral("00041002"));
    EXPECT_EQ(box(2)->text(), record.calDue);
    EXPECT_EQ(calUi().chkCalType->isChecked(), record.calType == 1);

    type(19, QStringLiteral("99"));
    type(1, QStringLiteral("2"));
    leaveChannelBox();
    EXPECT_EQ(box(19)->text(), record.slope.text);
}

TEST_F(FrmCalRoutineTest, ComputeShowsResultsAndClipWarnings)
{
    openChannel(QStringLiteral("2"));
    typeExample();
    type(9, QStringLiteral("-10"));
    dialogs.expect(FrmCalRoutine::ComputeTitle);
    calUi().CmdComputeCalFactors->click();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().text, ClipLow);
    EXPECT_EQ(dialogs.shown().back().buttons, Dialogs::OkOnly);
    EXPECT_EQ(box(19)->text(), QStringLiteral("1"));
    EXPECT_EQ(box(20)->text(), QStringLiteral("0"));
    EXPECT_EQ(box(21)->text(), QStringLiteral("0"));
    EXPECT_EQ(box(22)->text(), QStringLiteral("4095"));
    EXPECT_EQ(box(23)->text(), QStringLiteral("1"));
    EXPECT_EQ(box(21)->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(box(22)->palette().color(QPalette::Text), QColor(0, 128, 0));
    // The outputs and sensitivity are the record's now; slope and offset wait for the write.
    EXPECT_EQ(connection.header.channel[1].sensitivity.text, QStringLiteral("1").leftJustified(12));
    EXPECT_FLOAT_EQ(connection.header.channel[1].sensitivity.value, 1.0f);
}

// Save writes the sixteen lines of the channel's block, reads the header back
// and hands over to the Cal Data tab.
TEST_F(FrmCalRoutineTest, SaveWritesTheBlockAndReadsItBack)
{
    openChannel(QStringLiteral("2"));
    typeExample();
    type(2, QString());
    type(6, QStringLiteral("PSI"));
    calUi().CmdComputeCalFactors->click();
    std::vector<int> progress;
    QObject::connect(calUi().PgbReadHeader, &QProgressBar::valueChanged, [&](int v) { progress.push_back(v); });
    calUi().CmdSave->click();

    const QString due = CalNumbers::defaultDueDate(loop.now().date());
    EXPECT_EQ(box(2)->text(), due);
    CalBoxes written = cal().boxes();
    const QStringList lines = *ChannelBlock::fromBoxes(written).lines();
    QStringList expected;
    for (int line = 0; line < 16; ++line)
        expected << QStringLiteral("07") + QString::number(line, 16).toUpper() + QStringLiteral("0 ") + lines.at(line);
    EXPECT_EQ(writesAt(0x07), expected);
    for (int line = 0; line < 16; ++line)
        EXPECT_EQ(loggerLine(0x0700 + line * 0x10), lines.at(line));

    const ChannelCalRecord &record = connection.header.channel[1];
    EXPECT_EQ(record.slope.text, QStringLiteral("+1.00000E+00"));
    EXPECT_EQ(record.engUnits, QStringLiteral("PSI "));
    EXPECT_EQ(record.calDue, due);
    EXPECT_TRUE(connection.header.headerValid);
    EXPECT_EQ(cal().result(), QDialog::Accepted);
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::CalData);
    EXPECT_TRUE(calUi().PgbReadHeader->isHidden());
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 25}));
    EXPECT_FALSE(dialogs.busy());
}

// A slope or offset typed after a Compute: a typed slope is written as it is;
// a typed offset with the computed slope asks first.
TEST_F(FrmCalRoutineTest, HandEnteredSlopeAndOffset)
{
    openChannel(QStringLiteral("2"));
    typeExample();
    calUi().CmdComputeCalFactors->click();
    type(20, QStringLiteral("2.5"));
    dialogs.expect(CalChannelWrite::HandEntryTitle, Dialogs::Cancel);
    calUi().CmdSave->click();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("The Slope or Offset appear to be manually entered.\r\n\r\n"
                             "Click OK to keep the entered Slope & Offset, or\r\n\r\n"
                             "Click Cancel to Exit then click the\r\nCompute Cal Factors button to calculate new values."));
    EXPECT_EQ(dialogs.shown().back().buttons, Dialogs::OkCancel);
    EXPECT_TRUE(textWrites().isEmpty());

    dialogs.expect(CalChannelWrite::HandEntryTitle, Dialogs::Ok);
    calUi().CmdSave->click();
    EXPECT_EQ(loggerLine(0x0720).mid(4), QStringLiteral("+2.50000E+00"));

    // A typed slope is taken without a question.
    cal().setChannelBox(QStringLiteral("3"));
    cal().loadChannel();
    typeExample();
    calUi().CmdComputeCalFactors->click();
    type(19, QStringLiteral("0.5"));
    calUi().CmdSave->click();
    EXPECT_EQ(loggerLine(0x0810).mid(4), QStringLiteral("+5.00000E-01"));
}

// A box that is no number the logger can hold, or a due date that is no
// date, refuses the write before the first line.
TEST_F(FrmCalRoutineTest, UnwritableBoxesWriteNothing)
{
    openChannel(QStringLiteral("2"));
    for (const auto &[field, text] : {std::pair{7, "1e39"}, std::pair{2, "2027/13/01"}}) {
        typeExample();
        calUi().CmdComputeCalFactors->click();
        type(field, QLatin1String(text));
        dialogs.expect(QStringLiteral("Unanticipated Error"), Dialogs::Ok);
        calUi().CmdSave->click();
        EXPECT_EQ(dialogs.shown().back().text,
                  QStringLiteral("Error in entering data. If Type error 13 reenter cal date."));
        EXPECT_TRUE(textWrites().isEmpty()) << text;
        EXPECT_NE(cal().result(), QDialog::Accepted);
    }
}

// The logger stops answering at line 0760: the lines before it stay
// written, the window stays open and nothing is read back.
TEST_F(FrmCalRoutineTest, FailedLineEndsTheSave)
{
    openChannel(QStringLiteral("2"));
    typeExample();
    calUi().CmdComputeCalFactors->click();
    const QStringList lines = *ChannelBlock::fromBoxes(cal().boxes()).lines();
    silenceOnWriteOf(0x0760, lines.at(6));
    dialogs.expect(QStringLiteral("Unanticipated error"), Dialogs::Ok);
    calUi().CmdSave->click();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("Unanticipated error writing &H0760, please check input values."));
    EXPECT_EQ(dialogs.shown().back().buttons, Dialogs::OkCancel);
    EXPECT_EQ(loggerLine(0x0750), lines.at(5));
    EXPECT_TRUE(writesAt(0x07).filter(QStringLiteral("0770 ")).isEmpty());
    EXPECT_NE(cal().result(), QDialog::Accepted);
    EXPECT_FALSE(dialogs.busy());
}

TEST_F(FrmCalRoutineTest, ExitAsksOnlyWhenABoxChanged)
{
    openChannel(QStringLiteral("2"));
    calUi().CmdExitNoSave->click();
    EXPECT_TRUE(dialogs.shown().empty());

    type(6, QStringLiteral("kPa"));
    dialogs.expect(QStringLiteral("Save Changes?"), Dialogs::No);
    calUi().CmdExitNoSave->click();
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("Do you want to save your changes?\r\n\r\nClick Yes to Save, or\r\nClick No  to Exit without saving."));
    EXPECT_TRUE(textWrites().isEmpty());
    EXPECT_FALSE(cal().calChangesPending());

    calUi().chkCalType->toggle();
    dialogs.expect(QStringLiteral("Save Changes?"), Dialogs::Yes);
    calUi().CmdExitNoSave->click();
    EXPECT_EQ(writesAt(0x07).size(), 16);
    EXPECT_EQ(cal().result(), QDialog::Accepted);
}

TEST_F(FrmCalRoutineTest, FactoryResetWritesTheDefaultBlock)
{
    openChannel(QStringLiteral("3"));
    calUi().cmdFactoryDefaults->click();
    const QStringList lines = ChannelBlock::factoryDefaults(3, true);
    for (int line = 0; line < 16; ++line)
        EXPECT_EQ(loggerLine(0x0800 + line * 0x10), lines.at(line));
    EXPECT_EQ(loggerLine(0x0820).left(4), QStringLiteral("Ch 3"));
    EXPECT_FLOAT_EQ(connection.header.channel[2].scOutputAt100.value, 4095.0f);
    EXPECT_TRUE(dialogs.shown().empty());
}

// A logger that stops answering ends the reset at the first line it did not
// confirm, and the operator is told which.
TEST_F(FrmCalRoutineTest, FactoryResetStopsAtTheFirstFailedLine)
{
    openChannel(QStringLiteral("1"));
    silenceOnWriteOf(0x0630, ChannelBlock::factoryDefaults(1, true).at(3));
    dialogs.expect(QStringLiteral("Reset to Factory Default"));
    calUi().cmdFactoryDefaults->click();
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("The logger did not take line &H0630, so the reset stopped there.\r\n"
                             "Check the connection, then reset the channel again."));
    EXPECT_EQ(writesAt(0x06).filter(QRegularExpression(QStringLiteral("^06[4-9A-F]0"))), QStringList());
}

TEST_F(FrmCalRoutineTest, ClipboardKeepsOneChannelsBoxes)
{
    openChannel(QStringLiteral("2"));
    typeExample();
    type(2, QString());
    type(4, QStringLiteral("PX \"409\""));
    calUi().chkCalType->setChecked(true);
    dialogs.expect(QString());
    calUi().cmdSaveCurrent->click();
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("Settings Saved"));
    const QString due = CalNumbers::defaultDueDate(loop.now().date());
    EXPECT_EQ(box(2)->text(), due);
    QSettings ini(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("DataLogger/T410-Ops/CalData/ModelNum")).toString(), QStringLiteral("PX \"409\""));
    EXPECT_EQ(ini.value(QStringLiteral("DataLogger/T410-Ops/CalData/CalType")).toString(), QStringLiteral("1"));

    type(1, QStringLiteral("5"));
    leaveChannelBox();
    calUi().cmdRecallLast->click();
    EXPECT_EQ(box(4)->text(), QStringLiteral("PX \"409\""));
    EXPECT_EQ(box(2)->text(), due);
    EXPECT_EQ(box(1)->text(), QStringLiteral("5"));
    EXPECT_TRUE(calUi().chkCalType->isChecked());
    // Nothing reaches the record before the channel is written.
    EXPECT_NE(connection.header.channel[4].modelNumber, QStringLiteral("PX \"409\""));
}

// Junk in every box takes the boxes' own path: texts are cut to their
// widths, a text that is no number counts as 0, and a number the logger
// cannot hold refuses the write before its first line.
TEST_F(FrmCalRoutineTest, JunkInEveryBox)
{
    openChannel(QStringLiteral("2"));
    const struct
    {
        QString junk;
        bool written;
    } cases[] = {
        {QStringLiteral("abc"), true},         {QStringLiteral("1,5"), true},
        {QStringLiteral("1e39"), false},       {QString(), true},
        {QString(200, u'x'), true},            {QString(200, u'9'), false},
        {QStringLiteral("-0"), true},          {QStringLiteral("\u00b5A \u2126"), true},
    };
    dialogs.allow(FrmCalRoutine::ComputeTitle);
    dialogs.allow(CalChannelWrite::HandEntryTitle);
    for (const auto &c : cases) {
        cal().setChannelBox(QStringLiteral("2"));
        cal().loadChannel();
        for (int field = 3; field <= 23; ++field)
            box(field)->setText(c.junk);
        box(2)->setText(QStringLiteral("2027/01/31"));
        calUi().CmdComputeCalFactors->click();
        const qsizetype before = writesAt(0x07).size();
        if (!c.written)
            dialogs.expect(QStringLiteral("Unanticipated Error"));
        calUi().CmdSave->click();
        const QStringList writes = writesAt(0x07).mid(before);
        EXPECT_EQ(writes.size(), c.written ? 16 : 0) << c.junk.toStdString();
        for (const QString &w : writes)
            EXPECT_EQ(w.size(), 5 + 16) << w.toStdString();
    }
}

// A logger that goes away takes its calibration window with it.
TEST_F(FrmCalRoutineTest, LostLoggerHidesTheWindow)
{
    openChannel(QStringLiteral("2"));
    cal().show();
    ASSERT_TRUE(cal().isVisible());
    logger.unplug();
    settle(10);
    EXPECT_FALSE(cal().isVisible());
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::Waiting);
}
