// Real-time lines ("r" answers, "l" dump lines). Input: one byte for the
// number of channel rows asked for, then the line. Properties: a reading
// is only ever the three hexadecimal digits of its channel's field, within
// the converter's range, and a line the simulated logger would send reads back
// as the counts it was made of.
#include "fuzz/FuzzCheck.h"
#include "logger/RealTimeLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int rows = data[0] % 16;
    const QString line = FuzzCheck::latin1(data + 1, size - 1);
    (void)RealTimeLine::isReadingLine(line, rows);
    const std::vector<std::optional<int>> counts = RealTimeLine::counts(line, rows);
    FuzzCheck::require(counts.size() == size_t(rows), "one entry per row", line);

    QString rebuilt = line.left(1);
    bool complete = !line.isEmpty();
    for (int k = 1; k <= rows; ++k) {
        const std::optional<int> count = counts[size_t(k - 1)];
        if (!count) {
            complete = false;
            continue;
        }
        FuzzCheck::require(*count >= RealTimeLine::MinimumCount
                               && *count <= RealTimeLine::MaximumCount,
                           "count within the converter's range", line);
        const qsizetype start = qsizetype(RealTimeLine::CharsPerChannel) * (k - 1) + 3;
        FuzzCheck::require(line.mid(start, 3).toUpper()
                               == QStringLiteral("%1").arg(*count, 3, 16, QLatin1Char('0')).toUpper(),
                           "count is its field's digits", line);
        rebuilt += QStringLiteral("%1:%2,").arg(k).arg(*count, 3, 16, QLatin1Char('0')).toUpper();
    }
    // The encoder's own shape: "r1:5DC,2:802,..." reads back as its counts.
    if (complete && rows > 0 && rows < 10) {
        const std::vector<std::optional<int>> again = RealTimeLine::counts(rebuilt, rows);
        FuzzCheck::require(again == counts, "encoded line reads back", rebuilt);
    }
    return 0;
}
