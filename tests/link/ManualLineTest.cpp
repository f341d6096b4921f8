#include "link/ManualLine.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct WriteCase
{
    const char *name;
    std::optional<ManualLine> (*compose)(const QString &, const QString &);
    QString addressField;
    QString text;
    QString letter;
    QString address;
    QString data;
};

} // namespace

// What a technician types becomes a command of the right length; the address
// is padded on the left and cut to its last digits.
TEST(ManualLine, HandWritesAreFilledAndCut)
{
    const QString dots16(16, u'.');
    const WriteCase cases[] = {
        {"f short", &ManualLine::dataWrite, "10", "ABC", "f", "000010",
         "ABC" + QString(16, u' ') + QString(13, u'.')},
        {"f empty", &ManualLine::dataWrite, "", "", "f", "000000", QString(16, u' ') + dots16},
        {"f long address and text", &ManualLine::dataWrite, "1234567", QString(40, u'7'), "f",
         "234567", QString(32, u'7')},
        {"d short", &ManualLine::headerTextWrite, "e00", "Hello", "d", "0E00", "Hello..........."},
        {"d long", &ManualLine::headerTextWrite, "0E00", "ABCDEFGHIJKLMNOPQRS", "d", "0E00",
         "ABCDEFGHIJKLMNOP"},
        {"d spaces kept", &ManualLine::headerTextWrite, " 700 ", "a b", "d", "0700", "a b............."},
        {"b short", &ManualLine::headerHexWrite, "50", "00FF", "b", "0050", "00FF" + QString(28, u'.')},
        {"b five digits", &ManualLine::headerHexWrite, "10050", QString(33, u'1'), "b", "0050",
         QString(32, u'1')},
    };
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<ManualLine> line = c.compose(c.addressField, c.text);
        ASSERT_TRUE(line);
        EXPECT_EQ(line->letter, c.letter);
        EXPECT_EQ(line->address, c.address);
        EXPECT_EQ(line->data, c.data);
        EXPECT_EQ(line->length, c.data.size());
    }
}

TEST(ManualLine, AnAddressThatIsNotHexadecimalMakesNoCommand)
{
    for (const QString &field : {QStringLiteral("0G00"), QStringLiteral("xyz"), QStringLiteral("-10"),
                                 QStringLiteral("1 0"), QStringLiteral("0x10")}) {
        SCOPED_TRACE(field.toStdString());
        EXPECT_FALSE(ManualLine::dataWrite(field, QStringLiteral("00")));
        EXPECT_FALSE(ManualLine::headerTextWrite(field, QStringLiteral("text")));
        EXPECT_FALSE(ManualLine::headerHexWrite(field, QStringLiteral("00")));
        EXPECT_FALSE(ManualLine::nextAddress(field, 4));
    }
}

TEST(ManualLine, NextMovesSixteenBytesOn)
{
    const struct
    {
        QString field;
        int digits;
        QString next;
    } cases[] = {
        {"0200", 4, "0210"}, {"0FF0", 4, "1000"}, {"0ff8", 4, "1008"}, {"FFF0", 4, "0000"},
        {"000000", 6, "000010"}, {"7FFF0", 6, "080000"}, {"FFFFF0", 6, "000000"}, {"", 4, "0010"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.field.toStdString());
        EXPECT_EQ(ManualLine::nextAddress(c.field, c.digits), c.next);
    }
}
