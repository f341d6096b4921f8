#include "logger/FunctionsSubs.h"

#include "sim/VirtualEventLoop.h"
#include "tests/support/ScopedTimeZone.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::LocalTime);
}

} // namespace

TEST(FunctionsSubs, HexFieldsArePaddedUpperCaseAndKeepLowDigits)
{
    const struct
    {
        QString text;
        QString expected;
    } cases[] = {
        {fnHex1(12), "C"},        {fnHex1(0x1F), "F"},          {fnHex1(-1), "F"},
        {fnHex2(255), "FF"},      {fnHex2(5), "05"},            {fnHex2(-1), "FF"},
        {fnHex2(0x1AB), "AB"},    {fnHex4(0), "0000"},          {fnHex4(0xabc), "0ABC"},
        {fnHex4(65535), "FFFF"},  {fnHex4(0x12345), "2345"},    {fnHex4(-2), "FFFE"},
        {fnHex6(131072), "020000"}, {fnHex6(255), "0000FF"},    {fnHex6(0x1234567), "234567"},
        {fnHex6(-1), "FFFFFF"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST(FunctionsSubs, HexToLongReadsUnsignedWithPrefixBlanksAndJunk)
{
    const struct
    {
        QString text;
        quint32 expected;
    } cases[] = {
        {"FFFF", 65535},          {"8000", 32768},          {"FFFFFF", 16777215},
        {"00A5", 165},            {"00a5", 165},            {"", 0},
        {"xyz", 0},               {"12G4", 0x12},           {" 1 2", 0x12},
        {"&H1234ABCD", 0x1234},   {"&H", 0},                {"&H 1 2", 0x12},
        {"ab&HFF", 0xFF},         {"&h7f", 0x7F},           {"&H12&H34", 0x12},
        {"FFFFFFFF", 0xFFFFFFFFu}, {"123456789", 0x23456789},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fnHexToLong(c.text), c.expected) << c.text.toStdString();
}

TEST(FunctionsSubs, SciTextIsTwelveSignedCharacters)
{
    const struct
    {
        float value;
        const char *expected;
    } cases[] = {
        {1234.567f, "+1.23457E+03"},  {-0.001f, "-1.00000E-03"},  {0.0f, "+0.00000E+00"},
        {-0.0f, "+0.00000E+00"},      {-0.25f, "-2.50000E-01"},   {1.0f, "+1.00000E+00"},
        // Rounding that carries moves into the exponent.
        {9.999996f, "+1.00000E+01"},  {-99999.96f, "-1.00000E+05"},
        // An exact tie rounds to the even digit.
        {1234565.0f, "+1.23456E+06"}, {1234575.0f, "+1.23458E+06"},
        {1e-40f, "+9.99995E-41"},     {FLT_MAX, "+3.40282E+38"},  {kInf, "+3.40282E+38"},
        {-kInf, "-3.40282E+38"},      {kNaN, "+0.00000E+00"},
    };
    for (const auto &c : cases) {
        const QString text = fnSciText(c.value);
        EXPECT_EQ(text, QString::fromLatin1(c.expected)) << c.value;
        EXPECT_EQ(text.size(), 12);
    }
}

TEST(FunctionsSubs, FloatToHexFPPacksExponentAndTruncatedFraction)
{
    const struct
    {
        float value;
        const char *expected;
    } cases[] = {
        {0.0f, "01000000"},     {-0.0f, "01000000"},   {0.5f, "00800000"},
        {-0.5f, "80800000"},    {1.0f, "01199999"},    {250.0f, "03400000"},
        {-250.0f, "83400000"},  {0.25f, "00400000"},   {0.01f, "41199999"},
        {1e-5f, "44199999"},    {3.14159f, "01506CB9"}, {-1234.5678f, "841F9ADD"},
        {123456.789f, "061F9ADD"},
        // The float nearest 1e11 is 99999997952, whose seven-digit rounding
        // carries to 1.000000E+11.
        {1e11f, "0C199999"},    {1e-37f, "64199999"},  {-1e38f, "A7199999"},
        {FLT_MAX, "27571CBD"},  {1.401298464e-45f, "6C23DF8C"},
        {kInf, "27571CBD"},     {-kInf, "A7571CBD"},   {kNaN, "01000000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fnFloatToHexFP(c.value), QString::fromLatin1(c.expected)) << c.value;
}

TEST(FunctionsSubs, HexFPToTextPrintsEightDecimalsBetweenBlanks)
{
    const struct
    {
        const char *hexFP;
        const char *expected;
    } cases[] = {
        {"03400000", " 250.00000000 "},
        {"80800000", " -0.50000000 "},
        {"00800000", " 0.50000000 "},
        {"01000000", " 0.00000000 "},
        {"81000000", " 0.00000000 "},
        {"01199999", " 0.99999964 "},
        {"c1199999", " -0.01000000 "},
        {" 03400000 ", " 250.00000000 "},
        // Exponent 63 is beyond any float: saturates at the largest one.
        {"3F800000", " 340282346638528859811704183484516925440.00000000 "},
        // Not eight hex digits.
        {"", ""},
        {"0340000", ""},
        {"034000000", ""},
        {"0340000G", ""},
        {"0340 000", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fnHexFPToText(QString::fromLatin1(c.hexFP)), QString::fromLatin1(c.expected))
            << c.hexFP;
}

TEST(FunctionsSubs, HexFPRoundTripsWithinItsPrecision)
{
    const float values[] = {0.5f,    -0.5f,     1.0f,   250.0f, 0.01f,     3.14159f,   -1234.5678f,
                            1e-7f,   6.02e23f,  -4e-30f, 99.99f, 1e11f,    1.0e38f,    2.5e-3f};
    for (const float v : values) {
        const QString hexFP = fnFloatToHexFP(v);
        const std::optional<float> back = fnHexFPToFloat(hexFP);
        ASSERT_TRUE(back.has_value()) << hexFP.toStdString();
        // 24-bit truncated fraction of at least 0.1, plus the seven-digit rounding.
        EXPECT_NEAR(*back, v, std::fabs(v) * 1e-6) << hexFP.toStdString();
        if (std::fabs(v) < 1e6f && std::fabs(v) > 1e-3f) {
            bool ok = false;
            const double printed = fnHexFPToText(hexFP).toDouble(&ok);
            EXPECT_TRUE(ok);
            EXPECT_NEAR(printed, v, std::fabs(v) * 1e-6 + 1e-8) << hexFP.toStdString();
        }
    }
}

TEST(FunctionsSubs, ChecksumIsByteSumModulo256)
{
    const struct
    {
        QString text;
        const char *expected;
    } cases[] = {
        {"abc", "26"},
        {"", "00"},
        {"A", "41"},
        {"d0400#000000FactoryInt", "6E"},
        {QString::fromLatin1("\xFF\xFF"), "FE"},
        {QString(QChar(0x20AC)), "3F"}, // not Latin-1: sent as '?'
    };
    for (const auto &c : cases)
        EXPECT_EQ(fnChecksum(c.text), QString::fromLatin1(c.expected)) << c.text.toStdString();
}

TEST(FunctionsSubs, WireBytesSendWhatLatin1CannotHoldAsQuestionMarks)
{
    const struct
    {
        QString text;
        QByteArray expected;
    } cases[] = {
        {QStringLiteral("0-10 bar"), "0-10 bar"},
        {QStringLiteral(""), ""},
        // Latin-1 beyond ASCII goes out as its own code.
        {QStringLiteral("25 \u00B0C \u00B5S"), "25 \xB0" "C \xB5S"},
        // Ohm and euro signs typed by an operator: never NUL.
        {QStringLiteral("5 \u03A9 9 \u20AC"), "5 ? 9 ?"},
        // A character beyond 16 bits counts as its two units, as the fields do.
        {QStringLiteral("a\U0001F600b"), "a??b"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wireBytes(c.text), c.expected) << c.text.toStdString();
    // The checksum covers exactly these bytes.
    EXPECT_EQ(fnChecksum(QStringLiteral("5 \u03A9")), fnChecksum(QStringLiteral("5 ?")));
    EXPECT_EQ(fnChecksum(QStringLiteral("5 \u03A9")), QStringLiteral("94"));
}

TEST(FunctionsSubs, ScanNumbersAreWholeScansRoundedHalfAwayFromZero)
{
    const struct
    {
        qint64 pointer;
        int words;
        qint64 scan;
    } cases[] = {
        {96, 3, 16}, {98, 3, 16}, {99, 3, 17}, {100, 3, 17}, {101, 3, 17}, {0, 3, 0},
        {2, 1, 1},   {1, 1, 1},   {3, 2, 1},   {96, 0, 0},   {96, -1, 0},  {-99, 3, -17},
        {0xFFFFFF, 10, 838861},
    };
    for (const auto &c : cases)
        EXPECT_EQ(scanNumberAt(c.pointer, c.words), c.scan) << c.pointer << " / " << c.words;
}

TEST(FunctionsSubs, SetAndClearBit)
{
    const struct
    {
        quint16 result;
        quint16 expected;
    } cases[] = {
        {fnSetBit(0, 0), 0x01},          {fnSetBit(0x10, 7), 0x90},
        {fnSetBit(0x1FF, 3), 0x1FF},     {fnSetBit(0, 15), 0x8000},
        {fnSetBit(5, 16), 5},            {fnSetBit(5, -1), 5},
        {fnClearBit(0x1FF, 0), 0xFE},    {fnClearBit(0xFF, 7), 0x7F},
        {fnClearBit(0x0F, 4), 0x0F},     {fnClearBit(0xABCD, 8), 0xCD},
        {fnClearBit(0xABCD, -1), 0xCD},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.result, c.expected);
}

TEST(FunctionsSubs, DatesWriteAsSerialText)
{
    const struct
    {
        QDateTime date;
        const char *expected;
    } cases[] = {
        {local(1899, 12, 30), "00000.000000"},
        {local(1899, 12, 31), "00001.000000"},
        {local(1900, 1, 1, 12), "00002.500000"},
        {local(2011, 9, 23, 10), "40809.416667"},
        {local(2011, 9, 23, 23, 59, 59), "40809.999988"},
        // Milliseconds do not count: the logger keeps whole seconds.
        {local(2011, 9, 23, 23, 59, 59, 999), "40809.999988"},
        // Nothing the field could hold: the epoch.
        {QDateTime(), "00000.000000"},
        {local(1899, 12, 29, 12), "00000.000000"},
        // Past the five integer digits: the largest serial.
        {local(2200, 1, 1), "99999.999999"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fnDateToSerialText(c.date), QString::fromLatin1(c.expected))
            << c.date.toString(Qt::ISODate).toStdString();
}

TEST(FunctionsSubs, SerialTextKeepsItsWidth)
{
    const struct
    {
        double serial;
        int decimals;
        const char *expected;
    } cases[] = {
        {40123.0, 6, "40123.000000"},  {0.9999996, 6, "00001.000000"},
        {-5.0, 6, "00000.000000"},     {std::nan(""), 6, "00000.000000"},
        {123456.7, 6, "99999.999999"}, {99999.9999996, 6, "99999.999999"},
        {40809.4166667, 3, "40809.417"}, {40123.75, 0, "40124"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fnSerialText(c.serial, c.decimals), QString::fromLatin1(c.expected)) << c.serial;
}

TEST(FunctionsSubs, SerialTextReadsAsDateOrInvalid)
{
    const struct
    {
        const char *text;
        QDateTime expected;
    } cases[] = {
        {"00000.000000", local(1899, 12, 30)},
        {"00001.000000", local(1899, 12, 31)},
        {"00001.500000", local(1899, 12, 31, 12)},
        {"40809.416667", local(2011, 9, 23, 10)},
        {"40809.999988", local(2011, 9, 23, 23, 59, 59)},
        {"40809.999999", local(2011, 9, 24)},
        {"40123.", local(2009, 11, 6)},
        {" 40123.000000 ", local(2009, 11, 6)},
        {"", QDateTime()},
        {"            ", QDateTime()},
        {"40123.xxxxxx", QDateTime()},
        {"-0001.000000", QDateTime()},
        {"+0001.000000", QDateTime()},
        {"1e5", QDateTime()},
        {"12.34.56", QDateTime()},
        {".", QDateTime()},
        {"999999999999", QDateTime()},
    };
    for (const auto &c : cases) {
        const QDateTime read = fnSerialTextToDate(QString::fromLatin1(c.text));
        EXPECT_EQ(read.isValid(), c.expected.isValid()) << c.text;
        if (c.expected.isValid()) {
            EXPECT_EQ(read, c.expected) << c.text;
        }
    }
}

TEST(FunctionsSubs, SerialTextRoundTripsToTheSecond)
{
    // Late dates have the fewest bits left for the time of day.
    for (const QDate day : {QDate(1899, 12, 30), QDate(2011, 9, 23), QDate(2173, 10, 13)}) {
        for (int secs = 0; secs < 86400; secs += 7) {
            const QDateTime written(day, QTime(0, 0).addSecs(secs), Qt::LocalTime);
            const QString text = fnDateToSerialText(written);
            ASSERT_EQ(fnSerialTextToDate(text), written) << text.toStdString();
        }
    }
}

// In Berlin the clocks went from 02:00 to 03:00 on 2024-03-31 and from 03:00
// back to 02:00 on 2024-10-27.
TEST(FunctionsSubs, SerialsAreWallClockReadingsAcrossDaylightSavingChanges)
{
    const ScopedTimeZone berlin("Europe/Berlin");
    const struct
    {
        const char *text;
        const char *shown;
    } cases[] = {
        {"45382.083322", "2024 03 31 01:59:59"},
        {"45382.083333", "2024 03 31 02:00:00"}, // skipped by the clock
        {"45382.104167", "2024 03 31 02:30:00"}, // skipped by the clock
        {"45382.124988", "2024 03 31 02:59:59"}, // skipped by the clock
        {"45382.125000", "2024 03 31 03:00:00"},
        {"45592.083333", "2024 10 27 02:00:00"}, // shown twice by the clock
        {"45592.104167", "2024 10 27 02:30:00"}, // shown twice by the clock
        {"45592.125000", "2024 10 27 03:00:00"},
    };
    for (const auto &c : cases) {
        const QDateTime read = fnSerialTextToDate(QString::fromLatin1(c.text));
        ASSERT_TRUE(read.isValid()) << c.text;
        EXPECT_EQ(read.toString(QStringLiteral("yyyy MM dd hh:mm:ss")), QString::fromLatin1(c.shown))
            << c.text;
        EXPECT_EQ(fnDateToSerialText(read), QString::fromLatin1(c.text));
    }

    // Both passes through the repeated hour write the reading on the clock.
    const QDateTime summer = QDateTime::fromSecsSinceEpoch(
        QDateTime(QDate(2024, 10, 27), QTime(0, 30), Qt::UTC).toSecsSinceEpoch(), Qt::LocalTime);
    const QDateTime winter = summer.addSecs(3600);
    ASSERT_EQ(summer.time(), QTime(2, 30));
    ASSERT_EQ(winter.time(), QTime(2, 30));
    EXPECT_EQ(fnDateToSerialText(summer), QStringLiteral("45592.104167"));
    EXPECT_EQ(fnDateToSerialText(winter), QStringLiteral("45592.104167"));
}

TEST(FunctionsSubs, SerialNumbersOutsideTheDateRangeAreInvalid)
{
    EXPECT_FALSE(fnSerialToDate(-1.0).isValid());
    EXPECT_FALSE(fnSerialToDate(std::nan("")).isValid());
    EXPECT_FALSE(fnSerialToDate(3e6).isValid());
    EXPECT_EQ(fnSerialToDate(fnDateToSerial(local(2024, 2, 29, 13, 14, 15))),
              local(2024, 2, 29, 13, 14, 15));
}

TEST(FunctionsSubs, WaitLastsItsTimeAndLetsEventsRun)
{
    const struct
    {
        double alreadyElapsed;
        float seconds;
        double expectedEnd;
    } cases[] = {
        {0.0, 2.5f, 2.5},
        {100.0, 3.0f, 103.0},
        {0.0, 0.0f, 0.0},
        {0.0, -1.0f, 0.0},
        {0.0, kNaN, 0.0},
    };
    for (const auto &c : cases) {
        VirtualEventLoop loop;
        loop.advanceSeconds(c.alreadyElapsed);
        const bool commAbort = false;
        std::vector<double> ran;
        loop.scheduleAfter(1000000000LL, [&] { ran.push_back(loop.elapsedSeconds()); });

        subWait(loop, commAbort, c.seconds);

        EXPECT_EQ(loop.elapsedSeconds(), c.expectedEnd) << c.seconds;
        const std::vector<double> expectedRan =
            c.expectedEnd > c.alreadyElapsed ? std::vector<double>{c.alreadyElapsed + 1.0}
                                             : std::vector<double>{};
        EXPECT_EQ(ran, expectedRan) << c.seconds;
    }
}

TEST(FunctionsSubs, WaitAcrossMidnightEndsOnTime)
{
    VirtualEventLoop loop(local(2011, 9, 23, 23, 59, 59));
    const bool commAbort = false;
    subWait(loop, commAbort, 3.0f);
    EXPECT_EQ(loop.elapsedSeconds(), 3.0);
    EXPECT_EQ(loop.now(), local(2011, 9, 24, 0, 0, 2));
}

TEST(FunctionsSubs, WaitReturnsAtOnceWhenAlreadyAborted)
{
    VirtualEventLoop loop;
    const bool commAbort = true;
    bool ran = false;
    loop.scheduleAfter(100000000LL, [&] { ran = true; });

    subWait(loop, commAbort, 5.0f);

    EXPECT_EQ(loop.elapsedNs(), 0);
    EXPECT_FALSE(ran);
}

TEST(FunctionsSubs, WaitEndsWhenAnEventSetsTheAbortFlag)
{
    VirtualEventLoop loop;
    bool commAbort = false;
    bool laterRan = false;
    loop.scheduleAfter(700000000LL, [&] { commAbort = true; });
    loop.scheduleAfter(1500000000LL, [&] { laterRan = true; });

    subWait(loop, commAbort, 5.0f);

    EXPECT_EQ(loop.elapsedNs(), 700000000LL);
    EXPECT_FALSE(laterRan);
}
