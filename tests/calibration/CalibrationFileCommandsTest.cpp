#include "calibration/CalibrationFile.h"
#include "calibration/CalibrationFileCommands.h"
#include "calibration/frmCalDataNotes.h"
#include "console/MainTab.h"
#include "calibration/CalNumbers.h"
#include "sim/LoggerPresets.h"
#include "tests/calibration/CalWindowFixture.h"
#include "tests/support/QStringPrinter.h"
#include "ui_FrmStartup.h"
#include "ui_frmCalDataNotes.h"

#include <QFile>
#include <QPushButton>
#include <QTest>

namespace {

const QString SaveQuestion = QStringLiteral("Save Settings to File");
const QString LoadQuestion = QStringLiteral("Load File");

class CalibrationFileCommandsTest : public CalWindowFixture
{
protected:
    CalibrationFileCommandsTest()
        : CalWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray contents(const QString &file) const
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The notes dialog answered as an operator would.
    void answerNotes(const QString &notes, bool ok)
    {
        dialogs.onModal([notes, ok](QObject *object) {
            auto *dialog = qobject_cast<frmCalDataNotes *>(object);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Cal Data Notes"));
            EXPECT_TRUE(dialog->ui().optWhereToPrint1->isChecked());
            QTest::keyClicks(dialog->ui().txtCalDataNotes, notes);
            (ok ? dialog->ui().cmdOK : dialog->ui().cmdCancel)->click();
            return dialog->result();
        });
    }
};

} // namespace

// One channel saved from the window reads back into another channel's boxes.
TEST_F(CalibrationFileCommandsTest, ChannelFileIntoAnotherChannel)
{
    openChannel(QStringLiteral("2"));
    type(2, QString());
    type(4, QStringLiteral("A\"B, C"));
    calUi().chkCalType->setChecked(true);
    const CalBoxes saved = cal().boxes();
    dialogs.expectFileName(path("ch2.txt"));
    dialogs.expect(SaveQuestion, Dialogs::Ok);
    calUi().cmdSaveToFile->click();
    ASSERT_EQ(dialogs.fileDialogs().size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs()[0].title, QStringLiteral("Save Settings File"));
    EXPECT_EQ(dialogs.fileDialogs()[0].filter, CalibrationFileCommands::Filter);
    EXPECT_EQ(dialogs.fileDialogs()[0].folder, dir.filePath(QStringLiteral("data")));
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("Save as ") + path("ch2.txt") + u'?');
    EXPECT_EQ(dialogs.shown().back().defaultButton, Dialogs::DefaultButton2);
    EXPECT_EQ(box(2)->text(), CalNumbers::defaultDueDate(loop.now().date()));
    EXPECT_TRUE(contents(path("ch2.txt")).startsWith("\"VOSK & Signal Conditioning Calibration Data\",\"File\"\r\n"));

    type(1, QStringLiteral("5"));
    cal().loadChannel();
    calUi().chkCalType->setChecked(false);
    dialogs.expectFileName(path("ch2.txt"));
    dialogs.expect(LoadQuestion, Dialogs::Ok);
    calUi().cmdGetFromFile->click();
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("Load from ") + path("ch2.txt") + u'?');
    EXPECT_EQ(box(1)->text(), QStringLiteral("5"));
    EXPECT_EQ(box(4)->text(), QStringLiteral("A\"B, C"));
    EXPECT_EQ(box(2)->text(), CalNumbers::defaultDueDate(loop.now().date()));
    EXPECT_EQ(box(19)->text(), saved[19]);
    EXPECT_TRUE(calUi().chkCalType->isChecked());
    EXPECT_TRUE(textWrites().isEmpty());
}

TEST_F(CalibrationFileCommandsTest, CancelAndRefusals)
{
    openChannel(QStringLiteral("2"));
    const CalBoxes before = cal().boxes();
    // Cancel in the file dialog, then at the question: nothing is written or read.
    dialogs.expectFileName(QString());
    calUi().cmdSaveToFile->click();
    dialogs.expectFileName(path("no.txt"));
    dialogs.expect(SaveQuestion, Dialogs::Cancel);
    calUi().cmdSaveToFile->click();
    EXPECT_FALSE(QFile::exists(path("no.txt")));

    dialogs.expectFileName(path("missing.txt"));
    dialogs.expect(LoadQuestion, Dialogs::Ok);
    dialogs.expect(LoadQuestion);
    calUi().cmdGetFromFile->click();
    EXPECT_EQ(dialogs.shown().back().text, QStringLiteral("File not found."));

    // A file of the other kind is refused by its first line.
    QFile other(path("all.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("\"Signal Conditioning Calibration Data\",\"\"\r\n\"19: Logger Slope     \",\"9\"\r\n");
    other.close();
    dialogs.expectFileName(path("all.txt"));
    dialogs.expect(LoadQuestion, Dialogs::Ok);
    dialogs.expect(CalibrationFileCommands::WrongTypeTitle);
    calUi().cmdGetFromFile->click();
    EXPECT_EQ(dialogs.shown().back().text,
              path("all.txt") + QStringLiteral(" is not a VOSK & Signal Conditioning Calibration Data file."));
    EXPECT_EQ(dialogs.shown().back().icon, Dialogs::Critical);
    EXPECT_EQ(cal().boxes().text, before.text);
}

// "Save or Print to file" keeps every channel with the operator's notes;
// "Recall from file" brings them back into the records and the grid.
TEST_F(CalibrationFileCommandsTest, AllChannelsThroughTheCalDataTab)
{
    openChannel(QStringLiteral("1"));
    ui().SSTab1->setCurrentIndex(MainTab::CalData);
    connection.header.channel[2].calDue.clear();
    answerNotes(QStringLiteral("Bench 3 check"), true);
    dialogs.expectFileName(path("all.txt"));
    dialogs.expect(SaveQuestion, Dialogs::Ok);
    ui().cmdPrintCalData->click();
    const QByteArray text = contents(path("all.txt"));
    EXPECT_TRUE(text.contains("\"Bench 3 check\",\"\"\r\n"));
    EXPECT_TRUE(text.contains("\" 1: Sensor Num       \",8\r\n"));
    const QString due = CalNumbers::defaultDueDate(loop.now().date());
    EXPECT_EQ(connection.header.channel[2].calDue, due);
    EXPECT_TRUE(text.contains(QDate::fromString(due, QStringLiteral("yyyy/MM/dd")).toString(QStringLiteral("yyyy-MM-dd")).toLatin1()));

    // Cancel in the notes dialog saves nothing.
    answerNotes(QStringLiteral("x"), false);
    ui().cmdPrintCalData->click();
    EXPECT_EQ(dialogs.fileDialogs().size(), 1u);

    const ChannelCalRecord saved = connection.header.channel[3];
    connection.header.channel[3].modelNumber = QStringLiteral("CHANGED ");
    // The calibration password first.
    dialogs.onModal([](QObject *object) {
        auto *prompt = qobject_cast<QDialog *>(object);
        prompt->show();
        QTest::keyClicks(prompt->findChild<QLineEdit *>(QStringLiteral("txtPassword")), QStringLiteral("qqq"));
        prompt->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        prompt->hide();
        return prompt->result();
    });
    dialogs.expectFileName(path("all.txt"));
    dialogs.expect(LoadQuestion, Dialogs::Ok);
    dialogs.expect(QStringLiteral("Data Upload Complete"));
    ui().cmdGetFromFile->click();
    EXPECT_EQ(dialogs.shown().back().text,
              QStringLiteral("The new Signal Conditioning Calibration Data has been uploaded to the program.\r\n"
                             "If you would like to keep these setting click the 'Save to logger' button."));
    EXPECT_EQ(connection.header.channel[3].modelNumber, saved.modelNumber);
    EXPECT_EQ(ui().MFGCal->item(4, 1)->text(), saved.modelNumber);
    EXPECT_TRUE(textWrites().isEmpty());

    // Written to the logger, the calibration log compares with what the
    // logger held, not with what the file brought in.
    connection.header.channel[3].modelNumber = QStringLiteral("NEWMODEL");
    dialogs.expect(QStringLiteral("Write All Data"), Dialogs::Yes);
    ui().cmdSaveToLogger->click();
    EXPECT_EQ(connection.header.channel[3].modelNumber, QStringLiteral("NEWMODEL"));
    const QStringList log = QString::fromUtf8(contents(dir.filePath(QStringLiteral("data/CalibrationLog.csv"))))
                                .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(log.size(), 9);
    const QStringList channel4 = log[4].split(u',');
    EXPECT_EQ(channel4[3], QStringLiteral("\"") + saved.modelNumber.trimmed() + u'"');
    EXPECT_EQ(channel4[4], QStringLiteral("\"NEWMODEL\""));
}
