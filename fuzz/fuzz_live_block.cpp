// The live logging block (header page 00) as the event capture takes it apart:
// the 32 digits of lines 0000, 0010, 0020, 0040 and 0050, one a line.
// Properties: each field's value is what its digits say and fits its width;
// the channel configuration gives a monitor channel of 1-8 (with both monitor
// columns) or none; the scan number of a pointer is the nearest whole scan.
#include "fuzz/FuzzCheck.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderMap.h"
#include "logger/download/DownloadColumns.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = FuzzCheck::latin1(data, size).split(u'\n');
    constexpr int Addresses[] = {0x0000, 0x0010, 0x0020, 0x0040, 0x0050};
    for (qsizetype i = 0; i < lines.size() && i < 5; ++i) {
        const QString digits = lines[i];
        for (const LiveFieldSpec &spec : HeaderMap::liveFields()) {
            if (spec.address != Addresses[i] || spec.width > 4)
                continue;
            const QString hex = digits.mid(2 * spec.offset, 2 * spec.width);
            const quint32 value = fnHexToLong(hex);
            FuzzCheck::require(spec.width == 4 || value < (1u << (8 * spec.width)),
                               "field fits its width", hex);
            bool digits = hex.size() == 2 * spec.width;
            for (QChar c : hex)
                digits = digits && QStringLiteral("0123456789ABCDEFabcdef").contains(c);
            if (digits)
                FuzzCheck::require(hex.toUInt(nullptr, 16) == value, "field is its digits", hex);
            for (int words = 1; words <= 10; ++words) {
                const qint64 scan = scanNumberAt(value, words);
                const qint64 bytes = 2 * words;
                FuzzCheck::require(std::llabs(qint64(value) - scan * bytes) * 2 <= bytes,
                                   "nearest whole scan", hex);
            }
        }
    }
    if (lines.size() > 3) {
        const DownloadColumns columns = DownloadColumns::fromChannelConfig(lines[3]);
        FuzzCheck::require(columns.monitorChannel >= 0 && columns.monitorChannel <= 8,
                           "monitor channel 0-8", lines[3]);
        FuzzCheck::require(columns.hasMonitor() == (columns.monitorChannel > 0),
                           "monitor columns with a monitor channel", lines[3]);
        for (int c = 0; c < DownloadColumns::Count; ++c) {
            const int index = columns.channelIndex(c);
            FuzzCheck::require(index >= -1 && index < 8, "a column's channel 1-8", lines[3]);
        }
    }
    return 0;
}
