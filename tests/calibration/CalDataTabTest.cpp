#include "tests/calibration/CalDataFixture.h"

#include "calibration/CalDataGrid.h"
#include "console/frmEnterPassword.h"
#include "tests/support/QStringPrinter.h"

#include <QHeaderView>

namespace {

// The image with another model text in the identity line.
LoggerImage withModel(LoggerImage image, const QByteArray &model)
{
    image.header.replace(0x0200, 8, model);
    return image;
}

// The image stating `channels` installed channels.
LoggerImage withInstalled(LoggerImage image, char channels)
{
    image.header[0x0210 + 14] = channels;
    return image;
}

const QStringList Headings = {"Ch #", "Model #", "Sensor #", "Slope", "Offset", "Units", "Loc",
                              "Cal Date (y-m-d)"};

} // namespace

class CalDataGridShown : public CalDataFixture
{
protected:
    CalDataGridShown() : CalDataFixture(preset(LoggerPreset::Finished)) {}
};

TEST_F(CalDataGridShown, RowsHoldEveryChannelsRecordUnderTheHeadingRow)
{
    openOnCalData();
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::CalData);
    ASSERT_EQ(grid().rowCount(), 9) << "the heading row and channels 1-8";
    ASSERT_EQ(grid().columnCount(), 12);
    EXPECT_TRUE(grid().horizontalHeader()->isHidden());
    EXPECT_EQ(row(0).mid(0, 8), Headings);
    EXPECT_EQ(row(0).mid(8), QStringList(4, QString())) << "no \"-2\" in T410-8MC";
    // The pressure transducer of channel 1, due 2012/09/19 in the logger.
    EXPECT_EQ(row(1).mid(0, 8), QStringList({"Ch 1", "PX309-1K", "P1187342", "+2.77778E-01", "-4.16667E+01",
                                              "PSI ", "PUMP", "2012-09-19"}));
    EXPECT_EQ(connection.header.channel[0].calDue, "2012/09/19");
    EXPECT_EQ(cell(2, 0), "Ch 2");
    EXPECT_EQ(cell(2, 1), "TMP-RTD3");
    EXPECT_EQ(cell(3, 1), "HMP-60  ") << "texts keep their blanks";
    EXPECT_EQ(cell(8, 0), "Ch 8");
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(row(r).mid(8), QStringList(4, QString())) << r;
}

TEST_F(CalDataGridShown, CellsAreReadOnlyAndWidthsComeFromTwips)
{
    openOnCalData();
    EXPECT_FALSE(grid().item(1, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(grid().editTriggers(), QAbstractItemView::NoEditTriggers);
    const int pixels[] = {40, 67, 67, 100, 100, 42, 50, 80, 67, 50, 67, 50};
    for (int c = 0; c < 12; ++c)
        EXPECT_EQ(grid().columnWidth(c), pixels[c]) << c;
}

TEST_F(CalDataGridShown, WithoutALoggerTheDataLoggerTabIsSelected)
{
    openOnCalData();
    ui().SSTab1->setCurrentIndex(MainTab::Setup);
    connection.state.loggerConnected = false;
    ui().SSTab1->setCurrentIndex(MainTab::CalData);
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::DataLogger);
}

class CalDataDashTwo : public CalDataFixture
{
protected:
    CalDataDashTwo() : CalDataFixture(withModel(preset(LoggerPreset::Finished), "T410-2MC")) {}
};

TEST_F(CalDataDashTwo, CalibrationPointColumnsShowZeroValuesAndEmptyUnits)
{
    openOnCalData();
    EXPECT_EQ(row(0).mid(8), QStringList({"Cal 1 Val", "Cal 1 EU", "Cal 2 Val", "Cal 2 EU"}));
    for (int r = 1; r <= 8; ++r)
        EXPECT_EQ(row(r).mid(8), QStringList({"0", "", "0", ""})) << r;
}

class CalDataNoChannels : public CalDataFixture
{
protected:
    CalDataNoChannels() : CalDataFixture(withInstalled(preset(LoggerPreset::Finished), '0')) {}
};

TEST_F(CalDataNoChannels, OnlyTheHeadingRowIsShown)
{
    openOnCalData();
    ASSERT_EQ(connection.header.installedChannels, 0);
    ASSERT_EQ(grid().rowCount(), 1);
    EXPECT_EQ(row(0).mid(0, 8), Headings);
}

// Perform Calibration and the double-click, on a logger that is not logging
// and on one that is.
class CalDataPerform : public CalDataFixture
{
protected:
    explicit CalDataPerform(LoggerPreset which = LoggerPreset::Finished) : CalDataFixture(preset(which)) {}

    void cancelPassword()
    {
        dialogs.onModal([this](QObject *object) {
            EXPECT_NE(qobject_cast<frmEnterPassword *>(object), nullptr);
            ++promptsShown;
            return 0;
        });
    }
    int promptsShown = 0;
};

TEST_F(CalDataPerform, CancelledPasswordOpensNothing)
{
    openOnCalData();
    cancelPassword();
    ui().CmdPerfCal->click();
    EXPECT_EQ(promptsShown, 1);
    EXPECT_EQ(windowShown, 0);
    EXPECT_FALSE(window->state().passwordOK);
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::CalData);
}

TEST_F(CalDataPerform, ConfirmsTheLoggerThenOpensTheWindow)
{
    openOnCalData();
    window->state().passwordOK = true;
    port.forget();
    ui().CmdPerfCal->click();
    EXPECT_EQ(windowShown, 1);
    EXPECT_TRUE(port.writtenText().startsWith("c0200|")) << port.writtenText().toStdString();
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(CalDataPerform, DoubleClickHighlightsTheRowAndOpensItsChannel)
{
    openOnCalData();
    window->state().passwordOK = true;
    doubleClick(2, 3);
    EXPECT_EQ(channelBox, "2");
    EXPECT_EQ(windowShown, 1);
    EXPECT_EQ(window->state().calGridRow, 2);
    EXPECT_EQ(grid().item(2, 0)->background().color(), QColor(192, 255, 192));
    EXPECT_EQ(grid().currentColumn(), 0);

    doubleClick(4, 1);
    EXPECT_EQ(channelBox, "4");
    EXPECT_NE(grid().item(2, 0)->background().color(), QColor(192, 255, 192)) << "the previous row let go";
    EXPECT_EQ(grid().item(4, 0)->background().color(), QColor(192, 255, 192));

    // Selecting the tab again lets the highlighted row go.
    ui().SSTab1->setCurrentIndex(MainTab::Setup);
    ui().SSTab1->setCurrentIndex(MainTab::CalData);
    EXPECT_NE(grid().item(4, 0)->background().color(), QColor(192, 255, 192));
}

TEST_F(CalDataPerform, DoubleClickOnTheHeadingRowOnlyConfirms)
{
    openOnCalData();
    window->state().passwordOK = true;
    port.forget();
    doubleClick(0, 2);
    EXPECT_TRUE(channelBox.isEmpty());
    EXPECT_EQ(windowShown, 0);
    EXPECT_EQ(window->state().calGridRow, 0);
    EXPECT_TRUE(port.writtenText().startsWith("c0200|"));
}

class CalDataLogging : public CalDataPerform
{
protected:
    CalDataLogging() : CalDataPerform(LoggerPreset::Logging) {}
};

TEST_F(CalDataLogging, CancelAtStopLoggingLeavesLoggingOn)
{
    openOnCalData();
    window->state().passwordOK = true;
    ASSERT_TRUE(connection.statusByte.loggingActive());
    dialogs.expect("Stop Logging?", Dialogs::Cancel);
    ui().CmdPerfCal->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Logging is enabled.\r\nLogging must be turned off before continuing.\r"
              "You must re-initialize the logger to continue logging!\rDownload data if necessary!\r\n\r\n"
              "Do you want to turn off logging now?");
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::OkCancel);
    EXPECT_EQ(windowShown, 0);
    EXPECT_EQ(port.lettersWritten('q'), 0);
    EXPECT_TRUE(connection.statusByte.loggingActive());
    EXPECT_TRUE(logger.isLogging());
}

TEST_F(CalDataLogging, NoAtStopForCalibrationLeavesLoggingOn)
{
    openOnCalData();
    window->state().passwordOK = true;
    dialogs.expect("Stop Logging?", Dialogs::Ok);
    dialogs.expect("Stop for Calibration?", Dialogs::No);
    ui().CmdPerfCal->click();
    EXPECT_EQ(dialogs.beeps(), 1);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, "Do you really want to stop the logger?");
    EXPECT_EQ(dialogs.shown()[1].buttons, Dialogs::YesNo);
    EXPECT_EQ(dialogs.shown()[1].icon, Dialogs::Question);
    EXPECT_EQ(dialogs.shown()[1].defaultButton, Dialogs::DefaultButton2);
    EXPECT_EQ(windowShown, 0);
    EXPECT_TRUE(connection.statusByte.loggingActive());
}

TEST_F(CalDataLogging, YesTurnsLoggingOffThenOpensTheWindow)
{
    openOnCalData();
    window->state().passwordOK = true;
    dialogs.expect("Stop Logging?", Dialogs::Ok);
    dialogs.expect("Stop for Calibration?", Dialogs::Yes);
    ui().CmdPerfCal->click();
    EXPECT_EQ(windowShown, 1);
    EXPECT_FALSE(connection.statusByte.loggingActive());
    EXPECT_FALSE(logger.isLogging());
}
