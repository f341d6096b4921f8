#include "tests/logger/CsvSheet.h"
#include "tests/support/QStringPrinter.h"
#include "tests/logger/DownloadBench.h"

#include "logger/FunctionsSubs.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString Csv = QStringLiteral("run.CSV");
const QString Raw = QStringLiteral("run.RAW");

QString timeText(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// When the firmware took stored scan s (wake-up scans first): at logging on,
// 255 s before the start when the wait is longer, then once a period.
QDateTime expectedTime(const RecordedTest &test, int s)
{
    const int index = s - test.wakeUps();
    if (index >= 0)
        return test.start().addSecs(qint64(index) * test.periodSeconds);
    if (index == -1 && test.waitSeconds > 255)
        return test.start().addSecs(-255);
    return test.initTime;
}

// Checks every data row of the sheet against the recorded scans: number,
// time, counts, and the engineering value the formulas compute (or the clip
// text). Returns the number of rows checked.
int checkRows(const CsvSheet &sheet, const RecordedTest &test, int firstRow)
{
    const int n = test.channels + (test.monitor ? 2 : 0);
    int row = firstRow;
    for (int s = 0; s < test.scans.size(); ++s, ++row) {
        while (sheet.cell(row, 2) == QLatin1String("EVENT/ERROR:"))
            ++row;
        const RecordedTest::Scan &scan = test.scans[s];
        QList<int> counts = scan.counts;
        if (scan.monitor)
            counts << scan.monitor->first << scan.monitor->second;
        EXPECT_EQ(sheet.cell(row, 1), QString::number(s - test.wakeUps() + 1)) << "row " << row;
        EXPECT_EQ(sheet.cell(row, 2), timeText(expectedTime(test, s))) << "row " << row;
        for (int k = 0; k < n; ++k) {
            EXPECT_EQ(sheet.cell(row, 3 + k), QString::number(counts[k])) << "row " << row;
            const int channel = k < test.channels ? k : test.monitor - 1;
            const ChannelCalibration &cal = test.calibration[channel];
            const QString eu = sheet.cell(row, n + 4 + k);
            if (counts[k] == 0) {
                EXPECT_EQ(eu, "Low Clip");
            } else if (counts[k] >= 4095) {
                EXPECT_EQ(eu, "High Clip");
            } else {
                const std::optional<double> value = sheet.value(row, n + 4 + k);
                EXPECT_TRUE(value) << "row " << row << " cell " << eu.toStdString();
                if (value)
                    EXPECT_NEAR(*value, counts[k] * double(cal.slope) + double(cal.offset), 1e-3)
                    << "row " << row;
            }
        }
        if (::testing::Test::HasFailure())
            return s;
    }
    return int(test.scans.size());
}

} // namespace

TEST(Download, EveryScanBecomesARowWhoseFormulasComputeTheCalibratedValue)
{
    // Channels 1-3 with channel 2 as monitor, a wait of 300 s, and clipped
    // readings on either side of the range.
    RecordedTest test = RecordedTest::ramp(3, 2, 200, 300);
    test.scans[5].counts[0] = 0;
    test.scans[6].counts[2] = 4095;
    test.scans[7].counts[1] = 4094;
    test.scans[7].monitor = std::pair(4095, 0);
    DownloadBench bench(test.image());
    bench.chooseName("run");
    bench.download();

    EXPECT_EQ(bench.downloader.ending(), DataDownload::Ending::Complete);
    EXPECT_EQ(bench.files(), (QStringList{Csv, Raw}));
    const CsvSheet sheet(bench.lines(Csv));
    const int start = sheet.findRow("Start of Downloaded Data");
    ASSERT_GT(start, 0);
    const int slopeRow = start - 7;
    EXPECT_EQ(sheet.cell(slopeRow, 8), "Slope:");
    EXPECT_EQ(sheet.cell(start - 1, 1), "Scan#");
    EXPECT_EQ(sheet.cell(start - 1, 3), "Chan 1");
    EXPECT_EQ(sheet.cell(start - 1, 6), "Chan 9");
    EXPECT_EQ(sheet.cell(start, 3), "Counts");
    EXPECT_EQ(checkRows(sheet, test, start + 1), test.scans.size());
    // The first two scans: at the initialization, and 4:15 before the start.
    EXPECT_EQ(sheet.cell(start + 1, 1), "-1");
    EXPECT_EQ(sheet.cell(start + 2, 2), timeText(test.start().addSecs(-255)));
    EXPECT_EQ(sheet.cell(start + 1 + int(test.scans.size()), 1), "End of Downloaded Data");
    EXPECT_EQ(bench.lines(Csv).last(), "Saved complete as file: " + bench.folder() + "/run.CSV");
}

TEST(Download, RawFileKeepsTheHeaderAndEveryDataLineAsRead)
{
    const RecordedTest test = RecordedTest::ramp(2, 0, 100);
    DownloadBench bench(test.image());
    bench.chooseName("run");
    bench.download();

    const QStringList raw = bench.lines(Raw);
    const QStringList data = raw.filter(QRegularExpression("^e[0-9A-F]{6}#"));
    // 2 words a scan, 101 scans: 202 words in 26 lines of 8.
    ASSERT_EQ(data.size(), 26);
    for (int i = 0; i < data.size(); ++i)
        EXPECT_TRUE(data[i].startsWith("e" + fnHex6(16 * i) + "#")) << data[i].toStdString();
    EXPECT_TRUE(raw.contains("DATA                        ."));
    EXPECT_TRUE(raw.contains("Pic Header Info               "));
    // The live block as the capture read it: calibration interval, period
    // and wait of the setup line, then the values in force.
    const qsizetype setup = raw.indexOf("SETUP:  CalInt_Period_Waits_Scans_Channels_Pointer");
    ASSERT_GT(setup, 0);
    EXPECT_TRUE(raw[setup + 1].startsWith("a0010# 0000_003C_00003C_")) << raw[setup + 1].toStdString();
    const qsizetype last = raw.indexOf("LAST:         _Period_Waits_Scans_Channels_Pointer");
    ASSERT_GT(last, setup);
    EXPECT_TRUE(raw[last + 1].startsWith("a0020#     _003C_")) << raw[last + 1].toStdString();
    EXPECT_TRUE(raw.contains("SB at download: " + bench.connection.statusByte.statusText()));
    EXPECT_EQ(raw.indexOf("Start of Downloaded Data") + 1, raw.indexOf(data.first()));
    EXPECT_TRUE(raw.contains("Start of Download Notes"));
}

TEST(Download, CompleteDownloadIsRecordedInTheLogger)
{
    DownloadBench bench(RecordedTest::ramp(1, 0, 20).image());
    const QString name = "A-name-of-exactly-forty-characters-long!";
    ASSERT_EQ(name.size(), 40);
    bench.chooseName(name);
    bench.download();

    const QString stamp = bench.loop.now().toString("yyyy/MM/dd hh:mm");
    EXPECT_EQ(bench.textAt(0x0540), stamp.leftJustified(16));
    EXPECT_EQ(bench.textAt(0x0550), name.left(16));
    EXPECT_EQ(bench.textAt(0x0560), name.mid(16, 16));
    EXPECT_EQ(bench.connection.header.lastDownloadFile, name.left(32));
    // The line after the data is zeroed first.
    // The first whole line after the data is zeroed first (one channel, 21
    // scans: data ends at 42).
    EXPECT_EQ(bench.connection.capture.values().active.pointer.value, 42u);
    EXPECT_TRUE(bench.port.writtenText().contains("f000030#" + QString(32, '0')));
}
