// Header data files (a whole header as quoted records). Properties: a file
// that loads names only header addresses, each once, with hexadecimal lines
// made of hexadecimal digits; written again it loads to the same records, and
// that text is a fixed point.
#include "fuzz/FuzzCheck.h"
#include "logger/HeaderDataFile.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const HeaderDataFile::Parsed parsed = HeaderDataFile::parse(FuzzCheck::bytes(data, size));
    if (parsed.problem != HeaderDataFile::Problem::None)
        return 0;
    FuzzCheck::require(!parsed.records.isEmpty(), "a loaded file has records");
    QSet<int> seen;
    for (const HeaderDataFile::Record &record : parsed.records) {
        FuzzCheck::require(record.address >= 0 && record.address < HeaderDataFile::HeaderEnd
                               && record.address % 16 == 0,
                           "record at a header line", QString::number(record.address));
        FuzzCheck::require(!seen.contains(record.address), "each address once");
        seen.insert(record.address);
        if (HeaderDataFile::check(record) == HeaderDataFile::Check::Hex) {
            for (QChar c : record.text)
                FuzzCheck::require(QStringLiteral("0123456789ABCDEFabcdef").contains(c),
                                   "hex line of hex digits", record.text);
        }
    }
    const QByteArray written = HeaderDataFile::text(parsed.records);
    const HeaderDataFile::Parsed again = HeaderDataFile::parse(written);
    FuzzCheck::require(again.problem == HeaderDataFile::Problem::None, "written file loads",
                       QString::fromLatin1(written));
    FuzzCheck::require(again.records.size() == parsed.records.size(), "same number of records");
    for (qsizetype i = 0; i < again.records.size(); ++i) {
        FuzzCheck::require(again.records[i].address == parsed.records[i].address
                               && again.records[i].text == parsed.records[i].text,
                           "written file reads the same records", parsed.records[i].text);
    }
    FuzzCheck::require(HeaderDataFile::text(again.records) == written, "written text is a fixed point");
    return 0;
}
