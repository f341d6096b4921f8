#include "logger/download/DataWords.h"
#include "logger/download/ScanRows.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Data-memory reply lines turned into rows, as the download writes them.
QStringList rowsOf(int channels, bool monitor, const QStringList &replyLines)
{
    ScanRows::Setup setup;
    setup.columns = DownloadColumns::firstChannels(channels, monitor ? 1 : 0);
    setup.activeChannels = channels;
    setup.firstIndex = 0;
    setup.startDate = QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    setup.periodSeconds = 60;
    setup.firstEventScan = -5;
    setup.slopeRow = 9;
    QStringList rows;
    ScanRows::Sink sink;
    sink.write = [&](const QString &row) {
        rows << row;
        return true;
    };
    sink.linesWritten = [&] { return int(rows.size()); };
    sink.statusLine = [] { return QStringLiteral("Status"); };
    sink.lowBattery = [](qint64) {};
    sink.syncError = [](qint64, qint64, const QString &) { return true; };
    ScanRows scanRows(setup, sink);
    qint64 address = 0;
    for (const QString &line : replyLines) {
        const auto words = DataWords::fromReplyLine(line);
        EXPECT_TRUE(words) << qPrintable(line);
        for (const DataWord &word : *words)
            scanRows.addWord(word, address, 100000);
        address += 16;
    }
    scanRows.flush();
    return rows;
}

} // namespace

// Found by fuzzing the data lines: a reading out of its scan's order (a tag
// damaged into another channel's, or a scan whose first reading is missing)
// was appended to the row in hand, so a finished row grew a second set of
// counts and engineering cells and every column after it shifted.
TEST(ScanRows, ReadingsOutOfTheirScansOrderNeverShiftTheColumns)
{
    struct Case
    {
        const char *what;
        int channels;
        bool monitor;
        const char *line;
        QStringList rows;
    };
    const Case cases[] = {
        {"a second reading of channel 2 after the scan ended", 2, false,
         "e000000#0064106510660067106800691" "06A106B00",
         {"1,2020-01-01 00:00:00,100,101,,=C1*F$9+F$10+F$8,=D1*G$9+G$10+G$8,",
          "2,2020-01-01 00:01:00,103,104,,=C2*F$9+F$10+F$8,=D2*G$9+G$10+G$8,",
          "3,2020-01-01 00:02:00,105,106,,=C3*F$9+F$10+F$8,=D3*G$9+G$10+G$8,"}},
        {"channel 2 twice within a scan with a monitor channel", 2, true,
         "e000000#0064106510652070307100721" "07320740" "0",
         {"1,2020-01-01 00:00:00,100,101,112,113,,=C1*H$9+H$10+H$8,=D1*I$9+I$10+I$8,"
          "=E1*J$9+J$10+J$8,=F1*K$9+K$10+K$8,",
          "2,2020-01-01 00:01:00,114,115,116,"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rowsOf(c.channels, c.monitor, {QString::fromLatin1(c.line)}), c.rows) << c.what;
}
