#include "logger/HeaderDataFile.h"

#include "logger/FunctionsSubs.h"
#include "logger/QuotedRecords.h"

#include <QRegularExpression>
#include <QSet>

const QString HeaderDataFile::Marker = QStringLiteral("Logger Header Data");

namespace {
const QString CrLf = QStringLiteral("\r\n");

bool isHexDigits(const QString &text)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]*$"));
    return hex.match(text).hasMatch();
}
} // namespace

QList<int> HeaderDataFile::addresses()
{
    QList<int> result;
    for (int address = 0; address < HeaderEnd; address += 0x10)
        result << address;
    return result;
}

QByteArray HeaderDataFile::text(const QList<Record> &records)
{
    QString text = QuotedRecords::quoted(Marker) + CrLf;
    for (const Record &record : records)
        text += QuotedRecords::quoted(fnHex4(record.address)) + u',' + QuotedRecords::quoted(record.text) + CrLf;
    // Header text is bytes: one character each, as the logger holds them.
    return text.toLatin1();
}

HeaderDataFile::Check HeaderDataFile::check(const Record &record)
{
    if (record.text.size() == 32)
        return Check::Hex;
    if (record.text.size() == 16)
        return Check::Text;
    return Check::BadLength;
}

HeaderDataFile::Parsed HeaderDataFile::parse(const QByteArray &bytes)
{
    Parsed parsed;
    const QStringList lines = QuotedRecords::lines(bytes, MaxLines, QuotedRecords::Encoding::Latin1);
    if (QuotedRecords::items(lines.first()).first() != Marker) {
        parsed.problem = Problem::WrongMarker;
        return parsed;
    }
    static const QRegularExpression addressForm(QStringLiteral("^[0-9A-Fa-f]{4}$"));
    QSet<int> seen;
    for (const QString &line : lines.mid(1)) {
        if (line.trimmed().isEmpty())
            continue;
        const QStringList items = QuotedRecords::items(line);
        const Record record{items.first().toInt(nullptr, 16), items.value(1)};
        const auto refuse = [&](Problem problem) {
            parsed.problem = problem;
            parsed.badAddress = items.first();
            parsed.badText = record.text;
        };
        // Only whole lines inside the header, each once.
        if (!addressForm.match(items.first()).hasMatch() || record.address % 0x10 != 0
            || record.address >= HeaderEnd) {
            refuse(Problem::BadAddress);
            return parsed;
        }
        if (seen.contains(record.address)) {
            refuse(Problem::DuplicateAddress);
            return parsed;
        }
        if (check(record) == Check::Hex && !isHexDigits(record.text)) {
            refuse(Problem::NotHexDigits);
            return parsed;
        }
        seen.insert(record.address);
        parsed.records << record;
    }
    if (parsed.records.isEmpty())
        parsed.problem = Problem::NoRecords;
    return parsed;
}
