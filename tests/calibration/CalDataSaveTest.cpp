#include "tests/calibration/CalDataFixture.h"

#include "calibration/CalDataGrid.h"
#include "calibration/CalibrationLog.h"
#include "calibration/CalNumbers.h"
#include "tests/support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

struct WireLine
{
    QString address;
    QString text;
};

// Every text write "d" on the wire: its address and its sixteen characters.
QList<WireLine> textWrites(const QString &wire)
{
    QList<WireLine> lines;
    static const QRegularExpression write(QStringLiteral("d([0-9A-F]{4})#(.{16})"));
    for (auto it = write.globalMatch(wire); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        lines.append({m.captured(1), m.captured(2)});
    }
    return lines;
}

QStringList addresses(const QList<WireLine> &lines)
{
    QStringList all;
    for (const WireLine &line : lines)
        all << line.address;
    return all;
}

QStringList blockAddresses(int firstChannel, int lastChannel, int linesOfLast = 16)
{
    QStringList all;
    for (int c = firstChannel; c <= lastChannel; ++c)
        for (int line = 0; line < (c == lastChannel ? linesOfLast : 16); ++line)
            all << QStringLiteral("%1").arg((5 + c) * 0x100 + line * 0x10, 4, 16, QChar(u'0')).toUpper();
    return all;
}

} // namespace

class CalDataSave : public CalDataFixture
{
protected:
    explicit CalDataSave(const LoggerImage &image = preset(LoggerPreset::Finished)) : CalDataFixture(image) {}

    void openReady()
    {
        openOnCalData();
        window->state().passwordOK = true;
        QObject::connect(ui().ProgressBarCal, &QProgressBar::valueChanged, [this](int value) {
            progress << ui().lblChanNum->text() + QString::number(value);
        });
        port.forget();
    }
    // Save to logger, answering Yes, then the boxes that follow.
    void saveToLogger(const QString &thenBox = QString())
    {
        dialogs.expect("Write All Data", Dialogs::Yes);
        if (!thenBox.isEmpty())
            dialogs.expect(thenBox, Dialogs::Ok);
        ui().cmdSaveToLogger->click();
    }
    QStringList logLines()
    {
        QFile file(QDir(window->state().defaultPath).filePath("CalibrationLog.csv"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }

    QStringList progress;
};

TEST_F(CalDataSave, WritesEveryLineOfEveryChannelThenReadsTheHeaderBack)
{
    openReady();
    EXPECT_TRUE(ui().lblChanNum->isHidden());
    EXPECT_TRUE(ui().ProgressBarCal->isHidden());
    ChannelCalRecord &ch1 = connection.header.channel[0];
    // A known record: channel 1 as a technician left it.
    ch1.modelNumber = "AB      ";
    ch1.serialNumber = "SN-00042";
    ch1.engUnits = "kPa ";
    ch1.location = "WELL";
    ch1.excitationUnits = " mV ";
    ch1.calDue = "2027/03/01";
    ch1.slope.text = " 2.50000E-01";
    ch1.offset.text = "-1.00000E+01";
    ch1.scExcitation.text = " 5.00000E+03";
    ch1.scOffset.text = " 0.00000E+00";
    ch1.scGain.text = " 1.00000E+00";
    ch1.milliAt0.text = " 4.00000E+01";
    ch1.euAt0.text = " 0.00000E+00";
    ch1.fsEuAt0.text = "-5.00000E+00";
    ch1.milliAt100.text = " 4.00000E+03";
    ch1.euAt100.text = " 1.00000E+03";
    ch1.calType = 1;
    ch1.fsEuAt100.text = " 1.05000E+03";
    ch1.excitation.text = " 5.00000E+03";
    ch1.scOutputAt0.text = "-1.00000E+01";
    ch1.scOutputAt100.text = " 1.01375E+03";
    saveToLogger();

    const QString wire = port.writtenText();
    const QList<WireLine> lines = textWrites(wire);
    ASSERT_EQ(addresses(lines), blockAddresses(1, 8)) << wire.toStdString();
    const QStringList expected = {
        "AB      SN-00042", "kPa +2.50000E-01", "WELL-1.00000E+01", "+5.00000E+03 mV ",
        "+0.00000E+00    ", "+1.00000E+00    ", "46447.000000xxxx", "+4.00000E+01    ",
        "+0.00000E+00    ", "-5.00000E+00    ", "+4.00000E+03    ", "+1.00000E+031   ",
        "+1.05000E+03    ", "+5.00000E+03 mV ", "-1.00000E+01    ", "+1.01375E+03    ",
    };
    for (int line = 0; line < 16; ++line)
        EXPECT_EQ(lines[line].text, expected[line]) << lines[line].address.toStdString();
    // The header is read again after the last line.
    const qsizetype lastWrite = wire.lastIndexOf("d0DF0#");
    EXPECT_TRUE(wire.indexOf("c0200|", lastWrite) > lastWrite) << wire.mid(lastWrite).toStdString();
    EXPECT_TRUE(ui().lblChanNum->isHidden());
    EXPECT_TRUE(ui().ProgressBarCal->isHidden());
    const QStringList perChannel = {"1", "2", "3", "4", "5", "6", "7"};
    QStringList expectedProgress;
    for (int c = 1; c <= 8; ++c) {
        if (c > 1)
            expectedProgress << QStringLiteral("Ch%1:0").arg(c);
        for (const QString &value : perChannel)
            expectedProgress << QStringLiteral("Ch%1:").arg(c) + value;
    }
    EXPECT_EQ(progress, expectedProgress);
    // What the logger now holds is shown.
    EXPECT_EQ(cell(1, 1), "AB      ");
    EXPECT_EQ(cell(1, 7), "2027-03-01");
    EXPECT_EQ(dialogs.titles(), QStringList({"Write All Data"}));
    EXPECT_FALSE(dialogs.busy());
}

TEST_F(CalDataSave, EmptyDueDateIsWrittenTwoDaysAheadAndShownAfterTheReadBack)
{
    openReady();
    connection.header.channel[1].calDue.clear();
    saveToLogger();
    const QDate due = loop.now().date().addDays(2);
    const QList<WireLine> lines = textWrites(port.writtenText());
    ASSERT_EQ(lines.size(), 128);
    EXPECT_EQ(lines[16 + 6].address, "0760");
    EXPECT_EQ(lines[16 + 6].text, *CalNumbers::dayNumberText(due) + "000000xxxx");
    EXPECT_EQ(cell(2, 7), due.toString("yyyy-MM-dd"));
    EXPECT_EQ(connection.header.channel[1].calDue, due.toString("yyyy/MM/dd"));
}

TEST_F(CalDataSave, FailedLineAtChannelThreeX80StopsThereAndNamesIt)
{
    openReady();
    // The logger stops answering as line 0880 is sent.
    port.setWriteObserver([this] {
        const QByteArray wire = port.written();
        if (wire.endsWith("d") && wire.contains("d0870#") && !logger.faults().isSilent())
            logger.faults().silenceAfterLines(0);
    });
    saveToLogger("Unanticipated error");
    settle(60);
    const QString wire = port.writtenText();
    QStringList written = addresses(textWrites(wire));
    written.removeDuplicates();
    // The letter of 0880 went unanswered, so its address was never sent.
    EXPECT_EQ(written, blockAddresses(1, 3, 8)) << "channels 1 and 2 whole, channel 3 up to 0870";
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, "Unanticipated error writing &H0880, please check input values.");
    EXPECT_EQ(dialogs.shown()[1].buttons, Dialogs::OkCancel);
    EXPECT_FALSE(wire.contains("c0200|")) << "no read-back";
    EXPECT_FALSE(ui().lblChanNum->isHidden());
    EXPECT_EQ(ui().lblChanNum->text(), "Ch3:");
    EXPECT_FALSE(ui().ProgressBarCal->isHidden());
    EXPECT_EQ(ui().ProgressBarCal->value(), 4);
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 3) << log.join("\n").toStdString();
    EXPECT_TRUE(log[1].contains(",1,")) << log[1].toStdString();
    EXPECT_TRUE(log[2].contains(",2,")) << log[2].toStdString();
    EXPECT_FALSE(dialogs.busy());
}

TEST_F(CalDataSave, ValueThatCannotBeWrittenLeavesTheLoggerUntouched)
{
    openReady();
    connection.header.channel[3].slope.text = " 1.00000E+39";
    const ChannelCalRecord before = connection.header.channel[0];
    saveToLogger("Unanticipated Error");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text, "Error in entering data. If Type error 13 reenter cal date.");
    EXPECT_EQ(dialogs.shown()[1].buttons, Dialogs::OkCancel);
    EXPECT_EQ(port.lettersWritten('d'), 0) << port.writtenText().toStdString();
    EXPECT_EQ(connection.header.channel[0].slope.text, before.slope.text);
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_TRUE(ui().lblChanNum->isHidden());
}

TEST_F(CalDataSave, NoAtWriteAllDataOrACancelledPasswordWritesNothing)
{
    openReady();
    dialogs.expect("Write All Data", Dialogs::No);
    ui().cmdSaveToLogger->click();
    window->state().passwordOK = false;
    int prompts = 0;
    dialogs.onModal([&prompts](QObject *) { return ++prompts, 0; });
    ui().cmdSaveToLogger->click();
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(dialogs.titles(), QStringList({"Write All Data"}));
    EXPECT_TRUE(port.written().isEmpty()) << port.writtenText().toStdString();
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(CalDataSave, TheLogHoldsEachChannelBeforeAndAfter)
{
    openReady();
    ChannelCalRecord &ch1 = connection.header.channel[0];
    ch1.slope.text = " 2.50000E-01";
    ch1.modelNumber = "=CMD()  ";
    ch1.calDue.clear();
    const QString offset = ch1.offset.text.trimmed();
    const QDateTime started = loop.now();
    saveToLogger();
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 9);
    EXPECT_EQ(log[0], CalibrationLog::headerLine());
    // The time of the write, with its offset from UTC.
    const QString stamp = log[1].section(u',', 0, 0);
    const QDateTime when = QDateTime::fromString(stamp, Qt::ISODate);
    EXPECT_EQ(stamp, CalibrationLog::timeText(when));
    EXPECT_TRUE(when >= started.addSecs(-1) && when <= loop.now()) << stamp.toStdString();
    const QString due = loop.now().date().addDays(2).toString("yyyy-MM-dd");
    // Old: what the logger held, not the records changed since they were read.
    EXPECT_EQ(log[1], stamp + ",\"00041002\",1,\"PX309-1K\",\"'=CMD()\",\"P1187342\",\"P1187342\","
                              "\"PSI\",\"PSI\",+2.77778E-01,+2.50000E-01," + offset + "," + offset + ",2012-09-19," + due);
    EXPECT_EQ(log[2], stamp + ",\"00041002\",2,\"TMP-RTD3\",\"TMP-RTD3\",\"T0928815\",\"T0928815\","
                              "\"DegF\",\"DegF\",+7.83784E-02,+7.83784E-02,-5.56757E+01,-5.56757E+01,"
                              + CalDataGrid::cell(connection.header, 2, 7) + "," + CalDataGrid::cell(connection.header, 2, 7));
    for (int c = 3; c <= 8; ++c)
        EXPECT_TRUE(log[c].startsWith(stamp + ",\"00041002\"," + QString::number(c) + ",")) << log[c].toStdString();
}

TEST_F(CalDataSave, ALogThatCannotBeWrittenIsReportedAfterTheWrite)
{
    openReady();
    // The data folder went away since start-up.
    window->state().defaultPath = QDir(dir.path()).filePath("gone");
    saveToLogger("Calibration Log");
    EXPECT_EQ(port.lettersWritten('d'), 128);
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[1].text,
              "The calibration was written to the logger, but it could not be added to the calibration log "
              "CalibrationLog.csv:\rThe data folder \"" + window->state().defaultPath + "\" does not exist.");
    EXPECT_TRUE(ui().lblChanNum->isHidden()) << "the write itself went through";
}

class CalDataSaveNoChannels : public CalDataSave
{
protected:
    static LoggerImage image()
    {
        LoggerImage image = preset(LoggerPreset::Finished);
        image.header[0x0210 + 14] = '0';
        return image;
    }
    CalDataSaveNoChannels() : CalDataSave(image()) {}
};

TEST_F(CalDataSaveNoChannels, WritesNothingAndReadsTheHeaderBack)
{
    openReady();
    saveToLogger();
    EXPECT_EQ(port.lettersWritten('d'), 0);
    EXPECT_TRUE(port.writtenText().contains("c0200|")) << port.writtenText().toStdString();
    EXPECT_TRUE(logLines().isEmpty());
    EXPECT_EQ(grid().rowCount(), 1);
}
