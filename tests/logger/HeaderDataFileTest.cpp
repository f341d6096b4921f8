#include "logger/HeaderDataFile.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// A whole header: 32 hex lines, then 224 text lines (one with a quote and a comma).
QList<HeaderDataFile::Record> wholeHeader()
{
    QList<HeaderDataFile::Record> records;
    for (int address : HeaderDataFile::addresses()) {
        const QString text = address < HeaderDataFile::HexLinesEnd
            ? QStringLiteral("%1").arg(address, 32, 16, QLatin1Char('0')).toUpper()
            : QStringLiteral("Line %1 \"x\", \xAA").arg(address, 4, 16, QLatin1Char('0')).leftJustified(16, u'.');
        records << HeaderDataFile::Record{address, text.left(address < HeaderDataFile::HexLinesEnd ? 32 : 16)};
    }
    return records;
}

QByteArray file(const char *body)
{
    return QByteArray("\"Logger Header Data\"\r\n") + body;
}

} // namespace

TEST(HeaderDataFileTest, WholeHeaderRoundTrips)
{
    const QList<HeaderDataFile::Record> records = wholeHeader();
    const QByteArray text = HeaderDataFile::text(records);
    EXPECT_TRUE(text.startsWith("\"Logger Header Data\"\r\n\"0000\",\"00000000000000000000000000000000\"\r\n"));
    const HeaderDataFile::Parsed parsed = HeaderDataFile::parse(text);
    ASSERT_EQ(parsed.problem, HeaderDataFile::Problem::None);
    ASSERT_EQ(parsed.records.size(), 256);
    for (int i = 0; i < records.size(); ++i) {
        EXPECT_EQ(parsed.records[i].address, records[i].address);
        EXPECT_EQ(parsed.records[i].text, records[i].text);
    }
    EXPECT_EQ(HeaderDataFile::check(parsed.records[0]), HeaderDataFile::Check::Hex);
    EXPECT_EQ(HeaderDataFile::check(parsed.records[40]), HeaderDataFile::Check::Text);
    // LF endings read the same.
    EXPECT_EQ(HeaderDataFile::parse(QByteArray(text).replace("\r\n", "\n")).records.size(), 256);
}

// Files that must never reach the logger are refused before the first write.
TEST(HeaderDataFileTest, DamagedFilesAreRefusedWhole)
{
    using P = HeaderDataFile::Problem;
    const std::pair<QByteArray, P> cases[] = {
        {QByteArray(), P::WrongMarker},
        {"\"Logger Header\"\r\n\"0000\",\"0123456789012345\"", P::WrongMarker},
        {QByteArray(3000, '\x01'), P::WrongMarker},
        {file(""), P::NoRecords},
        {file("\"1000\",\"0123456789012345\"\r\n"), P::BadAddress},
        {file("\"0205\",\"0123456789012345\"\r\n"), P::BadAddress},
        {file("\"02G0\",\"0123456789012345\"\r\n"), P::BadAddress},
        {file("\"-010\",\"0123456789012345\"\r\n"), P::BadAddress},
        {file("\"10000\",\"0123456789012345\"\r\n"), P::BadAddress},
        {file("\"0200\",\"0123456789012345\"\r\n\"0200\",\"0123456789012345\"\r\n"), P::DuplicateAddress},
        {file("\"0000\",\"0123456789ABCDEF0123456789ABCDEZ\"\r\n"), P::NotHexDigits},
    };
    for (const auto &[bytes, problem] : cases)
        EXPECT_EQ(HeaderDataFile::parse(bytes).problem, problem) << bytes.left(60).toStdString();
    EXPECT_EQ(HeaderDataFile::parse(file("\"1000\",\"x\"")).badAddress, QStringLiteral("1000"));
}

// A record of the wrong length is taken; the load asks about it.
TEST(HeaderDataFileTest, WrongLengthsAreLeftToTheOperator)
{
    const HeaderDataFile::Parsed parsed = HeaderDataFile::parse(
        file("\"0200\",\"012345678901234\"\r\n\"0210\",\"\"\r\n\"0220\",\"0123456789012345\""));
    ASSERT_EQ(parsed.problem, HeaderDataFile::Problem::None);
    ASSERT_EQ(parsed.records.size(), 3);
    EXPECT_EQ(HeaderDataFile::check(parsed.records[0]), HeaderDataFile::Check::BadLength);
    EXPECT_EQ(HeaderDataFile::check(parsed.records[1]), HeaderDataFile::Check::BadLength);
    EXPECT_EQ(HeaderDataFile::check(parsed.records[2]), HeaderDataFile::Check::Text);
    EXPECT_EQ(HeaderDataFile::fixedText().size(), 16);
}
