// Data-memory reply lines turned into scans and CSV rows. Input: one byte
// for the test's shape (active channels 1-8, a monitor channel or not, whether
// the operator retries at a memory error), then "e" reply lines, one a line.
// Properties: a line's words decode only from hexadecimal digits, with tags
// 0-15 and counts 0-4095; every scan row holds a count for active columns
// only, and a finished row one engineering cell per active column.
#include "fuzz/FuzzCheck.h"
#include "logger/download/DataWords.h"
#include "logger/download/ScanRows.h"

#include <QRegularExpression>

namespace {

void checkRow(const QString &text, int activeColumns)
{
    // Only the row's own line: event lines and a memory error's line follow it.
    static const QRegularExpression scanRow(
        QStringLiteral("^\\d+,(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)?,"));
    const QString row = text.section(QStringLiteral("\r\n"), 0, 0);
    if (scanRow.match(row).hasMatch()) {
        const QStringList cells = row.split(u',');
        // Scan number, time, the counts, and when the scan ended an empty cell,
        // the engineering cells and the empty cell after the last.
        const qsizetype gap = cells.indexOf(QString(), 2);
        const qsizetype counts = (gap < 0 ? cells.size() - 1 : gap) - 2;
        FuzzCheck::require(counts >= 1 && counts <= activeColumns, "counts of active columns only",
                           row);
        for (qsizetype i = 2; i < 2 + counts; ++i) {
            bool ok = false;
            const int count = cells[i].toInt(&ok);
            FuzzCheck::require(ok && count >= 0 && count <= DataWords::HighClip,
                               "count cell within the converter's range", row);
        }
        if (gap >= 0 && gap < cells.size() - 1) {
            FuzzCheck::require(counts == activeColumns, "a finished scan has every column", row);
            FuzzCheck::require(cells.size() - gap - 2 == activeColumns,
                               "one engineering cell per active column", row);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int channels = 1 + (data[0] & 7);
    const bool monitor = data[0] & 8;
    const bool retry = data[0] & 16;
    const QStringList lines = FuzzCheck::latin1(data + 1, size - 1).split(u'\n');

    ScanRows::Setup setup;
    setup.columns = DownloadColumns::firstChannels(channels, monitor ? 1 : 0);
    setup.activeChannels = channels;
    setup.startDate = QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC);
    setup.periodSeconds = 60;
    setup.waitSeconds = 300;
    setup.firstEventScan = data[0] >> 5;
    setup.slopeRow = 9;
    setup.batteryChannel = 0;
    const int activeColumns = channels + (monitor ? 2 : 0);

    int written = 0;
    ScanRows::Sink sink;
    sink.write = [&](const QString &text) {
        checkRow(text, activeColumns);
        ++written;
        return true;
    };
    sink.linesWritten = [&] { return written; };
    sink.statusLine = [] { return QStringLiteral("Status"); };
    sink.lowBattery = [](qint64) {};
    sink.syncError = [&](qint64, qint64, const QString &) { return retry; };
    ScanRows rows(setup, sink);

    const qint64 end = qint64(lines.size()) * 16 + 200;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<std::array<DataWord, DataWords::PerLine>> words =
            DataWords::fromReplyLine(lines[i]);
        if (!words)
            continue;
        for (int w = 0; w < DataWords::PerLine; ++w) {
            const DataWord &word = (*words)[size_t(w)];
            const QString digits = lines[i].mid(8 + 4 * w, 4);
            static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{4}$"));
            if (word.tag >= 0) {
                FuzzCheck::require(hex.match(digits).hasMatch(), "a word only from hex digits",
                                   digits);
                FuzzCheck::require(word.tag <= 15 && word.count >= 0
                                       && word.count <= DataWords::HighClip,
                                   "tag and count within a word", digits);
            }
            const ScanRows::Outcome outcome = rows.addWord(word, i * 16, end);
            if (outcome != ScanRows::Outcome::Go)
                return 0;
        }
    }
    rows.flush();
    return 0;
}
