#include "calibration/CalNumbers.h"
#include "calibration/frmCalDataNotes.h"
#include "console/MainTab.h"
#include "console/RealTimeDisplay.h"
#include "reports/RealTimeReport.h"
#include "sim/LoggerPresets.h"
#include "tests/calibration/CalWindowFixture.h"
#include "tests/reports/ReportLines.h"
#include "tests/support/QStringPrinter.h"
#include "ui_FrmStartup.h"
#include "ui_frmCalDataNotes.h"

#include <QFile>
#include <QTest>

namespace {

const QString SaveQuestion = QStringLiteral("Save Settings to File");

class ReportWindows : public CalWindowFixture
{
protected:
    ReportWindows()
        : CalWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
    }

    QString path(const char *name) const { return dir.filePath(QStringLiteral("data/") + QLatin1String(name)); }
    QByteArray contents(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The notes dialog answered as an operator would: the caption checked,
    // an option picked, notes typed, OK or Cancel.
    void answerNotes(const QString &caption, int option, const QString &notes, bool ok)
    {
        dialogs.onModal([=](QObject *object) {
            auto *dialog = qobject_cast<frmCalDataNotes *>(object);
            EXPECT_EQ(dialog->windowTitle(), caption);
            QRadioButton *options[] = {dialog->ui().optWhereToPrint0, dialog->ui().optWhereToPrint1,
                                       dialog->ui().optWhereToPrint2};
            EXPECT_TRUE(options[option]->isEnabled());
            options[option]->click();
            dialog->ui().txtCalDataNotes->clear();
            QTest::keyClicks(dialog->ui().txtCalDataNotes, notes);
            (ok ? dialog->ui().cmdOK : dialog->ui().cmdCancel)->click();
            return dialog->result();
        });
    }
    void openOnCalData()
    {
        openWindow();
        logOn();
        ASSERT_TRUE(connection.header.headerValid);
        ui().SSTab1->setCurrentIndex(MainTab::CalData);
    }
    QString today() const { return loop.now().date().toString(QStringLiteral("yyyy/MM/dd")); }
};

struct CalDataCase
{
    const char *name;
    int option;
    bool ok;
    bool saves;
    bool prints;
};

} // namespace

// The notes dialog decides: print, save, both, or (Cancel) nothing at all.
TEST_F(ReportWindows, CalDataTabPrintsSavesOrBoth)
{
    const CalDataCase cases[] = {
        {"print only", frmCalDataNotes::PrintNow, true, false, true},
        {"the default option only saves", frmCalDataNotes::SaveToFile, true, true, false},
        {"both", frmCalDataNotes::PrintAndSave, true, true, true},
        {"cancel", frmCalDataNotes::PrintAndSave, false, false, false},
    };
    openOnCalData();
    for (const CalDataCase &c : cases) {
        SCOPED_TRACE(c.name);
        printer.documents.clear();
        const size_t fileDialogsBefore = dialogs.fileDialogs().size();
        connection.header.channel[2].calDue.clear();
        const QString file = path(c.name) + QStringLiteral(".txt");
        answerNotes(QStringLiteral("Cal Data Notes"), c.option, QStringLiteral("Bench 3"), c.ok);
        if (c.saves) {
            dialogs.expectFileName(file);
            dialogs.expect(SaveQuestion, Dialogs::Ok);
        }
        ui().cmdPrintCalData->click();
        EXPECT_EQ(QFile::exists(file), c.saves);
        EXPECT_EQ(dialogs.fileDialogs().size(), fileDialogsBefore + (c.saves ? 1 : 0));
        ASSERT_EQ(printer.documents.size(), c.prints ? 1u : 0u);
        // A channel without a due date gets one two days ahead, and keeps it.
        const QString due = c.ok ? CalNumbers::defaultDueDate(loop.now().date()) : QString();
        EXPECT_EQ(connection.header.channel[2].calDue, due);
        if (!c.prints)
            continue;
        const QStringList lines = printer.documents[0].lines;
        EXPECT_EQ(lines.value(0), QStringLiteral("       Signal Conditioning Calibration Data"));
        EXPECT_TRUE(lines.contains(QStringLiteral("       Bench 3")));
        EXPECT_TRUE(lines.contains(columns({{80, QStringLiteral("Serial Number: ")},
                                            {104, connection.header.serialNumber}})));
        const QString dueRow = columns({{8, QStringLiteral("  2: Cal Due Date     ")},
                                        {32, QString(connection.header.channel[0].calDue).replace(u'/', u'-')},
                                        {56, QString(connection.header.channel[1].calDue).replace(u'/', u'-')},
                                        {80, QString(due).replace(u'/', u'-')}});
        EXPECT_TRUE(lines.contains(dueRow)) << dueRow.toStdString();
    }
}

TEST_F(ReportWindows, CancelledPrintDialogPrintsNothingAndKeepsTheFont)
{
    openOnCalData();
    printer.acceptDialog = false;
    connection.header.channel[2].calDue.clear();
    answerNotes(QStringLiteral("Cal Data Notes"), frmCalDataNotes::PrintNow, QString(), true);
    ui().cmdPrintCalData->click();
    EXPECT_EQ(printer.dialogTitles, QStringList{QStringLiteral("Data Logger Calibration Data")});
    EXPECT_TRUE(printer.documents.empty());
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
    EXPECT_EQ(printer.fontSize(), 12);
    EXPECT_EQ(connection.header.channel[2].calDue, QString());
}

// The readings left in the grid after a stop are printed and saved.
TEST_F(ReportWindows, RealTimeTabPrintsAndSavesTheGrid)
{
    openWindow();
    logOn();
    ui().SSTab1->setCurrentIndex(MainTab::RealTime);
    settle(1);
    ui().chkAccumStats->click();
    ui().OptShowRTData->click();
    EXPECT_TRUE(ui().cmdPrintRTData->isHidden());
    settle(3.5);
    ui().OptStopRTData->click();
    ASSERT_FALSE(ui().cmdPrintRTData->isHidden());
    ASSERT_TRUE(ui().cmdPrintRTData->isEnabled());

    answerNotes(QStringLiteral("Real Time Data Notes"), frmCalDataNotes::PrintAndSave, QStringLiteral("Run 1"), true);
    dialogs.expectFileName(path("rt.txt"));
    dialogs.expect(SaveQuestion, Dialogs::Ok);
    ui().cmdPrintRTData->click();
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("Save as ") + path("rt.txt") + u'?');
    EXPECT_EQ(dialogs.shown().back().icon, Dialogs::Question);
    EXPECT_EQ(dialogs.shown().back().defaultButton, Dialogs::DefaultButton2);
    EXPECT_EQ(dialogs.fileDialogs().back().title, QStringLiteral("Save Settings File"));
    EXPECT_EQ(dialogs.fileDialogs().back().folder, dir.filePath(QStringLiteral("data")));

    const QTableWidget &grid = *ui().MFgRealTime;
    ASSERT_EQ(printer.documents.size(), 1u);
    const QStringList lines = printer.documents[0].lines;
    EXPECT_EQ(lines.value(0), columns({{24, QStringLiteral("Data Logger Real Time Data")}}));
    const int countLine = int(lines.indexOf(QStringLiteral("Current Count:  ") + ui().lblCumCount->text()));
    ASSERT_GT(countLine, 0);
    EXPECT_FALSE(ui().lblCumCount->text().isEmpty());
    QByteArray fileRows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList cells;
        QStringList quoted;
        for (int c = 0; c < grid.columnCount(); ++c) {
            cells << grid.item(r, c)->text();
            quoted << QStringLiteral("\"") + cells.back() + QStringLiteral("\"");
        }
        EXPECT_EQ(lines.value(countLine + 2 + r), RealTimeReport::printedRow(cells, r == 0)) << r;
        fileRows += quoted.join(u'\t').toUtf8() + "\r\n";
    }
    const QByteArray file = contents(path("rt.txt"));
    EXPECT_TRUE(file.startsWith("\"File\"\t\"Data Logger Real Time Data\"\r\n")) << file.constData();
    EXPECT_TRUE(file.contains("\"Run 1\"\t\"" + ui().lblCumCount->text().toUtf8() + "\"\r\n"));
    EXPECT_TRUE(file.endsWith(fileRows)) << file.constData();

    // A folder that is gone: the box says so and nothing is written.
    answerNotes(QStringLiteral("Real Time Data Notes"), frmCalDataNotes::SaveToFile, QString(), true);
    dialogs.expectFileName(dir.filePath(QStringLiteral("gone/rt.txt")));
    dialogs.expect(SaveQuestion, Dialogs::Ok);
    dialogs.expect(SaveQuestion);
    ui().cmdPrintRTData->click();
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("File not found."));
    EXPECT_EQ(printer.documents.size(), 1u);

    // Cancel in the notes dialog: nothing printed, nothing asked.
    answerNotes(QStringLiteral("Real Time Data Notes"), frmCalDataNotes::PrintAndSave, QString(), false);
    const size_t fileDialogs = dialogs.fileDialogs().size();
    ui().cmdPrintRTData->click();
    EXPECT_EQ(printer.documents.size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs().size(), fileDialogs);
}

TEST_F(ReportWindows, CalibrationWindowPrintsTheChannelShown)
{
    openChannel(QStringLiteral("2"));
    type(4, QStringLiteral("TYPED-4"));
    ASSERT_TRUE(calUi().cmdPrintSettings->isEnabled());
    calUi().cmdPrintSettings->click();
    ASSERT_EQ(printer.documents.size(), 1u);
    const QStringList lines = printer.documents[0].lines;
    EXPECT_EQ(lines.value(0), QStringLiteral("       Data Logger Calibration Subroutine"));
    EXPECT_TRUE(lines.contains(columns({{8, QStringLiteral(" Sensor Number:       ")}, {42, QStringLiteral("2")}})));
    EXPECT_TRUE(lines.contains(columns({{8, QStringLiteral(" Model Number:        ")}, {42, QStringLiteral("TYPED-4")}})));
    EXPECT_TRUE(lines.contains(columns({{8, QStringLiteral(" Gain:                ")}, {42, box(18)->text()}})));
    EXPECT_EQ(printer.documents[0].fontName, QStringLiteral("Courier 10,12,15"));
    EXPECT_EQ(printer.fontName(), QStringLiteral("Arial"));
}

// The main window's image, once the connected logger is confirmed; an
// aborted confirmation prints nothing.
TEST_F(ReportWindows, MainWindowImage)
{
    openWindow();
    logOn();
    ASSERT_TRUE(ui().cmdPrint->isEnabled());
    ui().cmdPrint->click();
    ASSERT_EQ(printer.documents.size(), 1u);
    ASSERT_EQ(printer.documents[0].images.size(), 1u);
    EXPECT_EQ(printer.documents[0].images[0], window->grab().toImage().size());

    connection.header.serialNumber = QStringLiteral("OTHER   ");
    dialogs.expect(QStringLiteral("Confirm Serial Number"), Dialogs::Abort);
    ui().cmdPrint->click();
    EXPECT_EQ(printer.documents.size(), 1u);
    EXPECT_EQ(printer.dialogTitles.size(), 1);
}
