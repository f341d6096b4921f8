// The quoted-record reader under calibration and header data files.
// Properties: the lines hold no line breaks and never more than asked for;
// the items of any line, written again as quoted items, read back the same.
#include "fuzz/FuzzCheck.h"
#include "logger/QuotedRecords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int maxLines = 1 + data[0] % 64;
    const QByteArray bytes = FuzzCheck::bytes(data + 1, size - 1);
    const auto encoding = data[0] & 0x80 ? QuotedRecords::Encoding::Latin1
                                         : QuotedRecords::Encoding::Utf8OrLatin1;
    const QStringList lines = QuotedRecords::lines(bytes, maxLines, encoding);
    FuzzCheck::require(!lines.isEmpty() && lines.size() <= maxLines, "between 1 and max lines");
    for (const QString &line : lines) {
        FuzzCheck::require(!line.contains(u'\r') && !line.contains(u'\n'), "no line breaks", line);
        const QStringList items = QuotedRecords::items(line);
        FuzzCheck::require(!items.isEmpty(), "a line has an item", line);
        QStringList quoted;
        for (const QString &item : items)
            quoted << QuotedRecords::quoted(item);
        const QString written = quoted.join(u',');
        FuzzCheck::require(QuotedRecords::items(written) == items, "quoted items read back",
                           line + QStringLiteral(" -> ") + written);
    }
    return 0;
}
