#include "logger/DataMemoryTest.h"
#include "logger/HeaderMemoryTest.h"
#include "logger/MemoryTopProbe.h"
#include "tests/logger/MemoryBench.h"
#include "tests/support/QStringPrinter.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

const QString FVerify = QStringLiteral("subsendmessage, f command write confirmation error");
using Write = MemoryBench::Write;
using Shown = QList<QPair<QString, QString>>;

QString hex6(qint64 address)
{
    return QString::number(address, 16).toUpper().rightJustified(6, u'0');
}

// A 16 KiB logger: 1 chip of 16 KiB, top line pair at 3FE0.
class DataMemoryTestTest : public ::testing::Test, public MemoryBench
{
protected:
    DataMemoryTestTest() : MemoryBench(image(LoggerPreset::Finished, 1, 0)) {}

    QStringList expectedAddresses(qint64 from, const std::function<int()> &step) const
    {
        QStringList addresses;
        for (qint64 a = from; a >= 0; a -= step())
            addresses << hex6(a);
        return addresses;
    }
};

} // namespace

// The quick test writes 5s, As and a counted digit at every 128th line from
// the top down, after clearing the status byte.
TEST_F(DataMemoryTestTest, QuickTestWritesThreePatternsEvery128Bytes)
{
    DataMemoryTest test(parts);
    EXPECT_TRUE(test.subChkDataMem(DataMemoryTest::Length::Quick));

    const QString wire = QString::fromLatin1(port.written());
    ASSERT_GE(wire.indexOf(QStringLiteral("q#00")), 0);
    EXPECT_LT(wire.indexOf(QStringLiteral("q#00")), wire.indexOf(QStringLiteral("f003FE0")));
    EXPECT_EQ(addressesWritten('f'), expectedAddresses(0x3FE0, [] { return 128; }));
    const QList<Write> f = writes('f');
    ASSERT_GE(f.size(), 6);
    EXPECT_EQ(f.mid(0, 6), (QList<Write>{{"003FE0", QString(32, u'5')}, {"003FE0", QString(32, u'A')},
                                         {"003FE0", QString(32, u'0')}, {"003F60", QString(32, u'5')},
                                         {"003F60", QString(32, u'A')}, {"003F60", QString(32, u'1')}}));
    EXPECT_EQ(logger.image().data.mid(0x3FE0, 16), QByteArray(16, '\0'));
    EXPECT_EQ(shownTexts, (Shown{{QStringLiteral("GOOD"), QStringLiteral("DATA GOOD")}}));
}

// The long test steps down by random multiples of 16 (16 to 3840) from a
// generator that a seed repeats.
TEST_F(DataMemoryTestTest, LongTestStepsByTheSeededRandomMultiplesOf16)
{
    DataMemoryTest test(parts, 7u);
    EXPECT_TRUE(test.subChkDataMem(DataMemoryTest::Length::Long));

    std::mt19937 random(7u);
    std::uniform_int_distribution<int> steps(1, 240);
    const QStringList expected = expectedAddresses(0x3FE0, [&] { return 16 * steps(random); });
    EXPECT_EQ(addressesWritten('f'), expected);
    EXPECT_GT(expected.size(), 2);
    EXPECT_EQ(shownTexts, (Shown{{QStringLiteral("GOOD"), QStringLiteral("DATA GOOD")}}));
}

// The short-test flag set during the test: it goes on from 512 and ends.
TEST_F(DataMemoryTestTest, ShortenedTestContinuesFrom512)
{
    DataMemoryTest test(parts);
    QObject::connect(&display, &MemoryTestDisplay::lineTested, [&](const QString &address) {
        if (address == QLatin1String("003EE0"))
            test.requestShortTest();
    });
    EXPECT_TRUE(test.subChkDataMem(DataMemoryTest::Length::Quick));
    EXPECT_EQ(addressesWritten('f'), QStringList({"003FE0", "003F60", "003EE0", "000200", "000180", "000100",
                                                  "000080", "000000"}));
    EXPECT_FALSE(test.shortTestRequested());
    EXPECT_EQ(shownTexts, (Shown{{QStringLiteral("GOOD"), QStringLiteral("DATA GOOD")}}));
}

// A stuck bit shows in the transport's verify box; Ignore goes on and the
// test ends failed, Abort stops it there.
TEST_F(DataMemoryTestTest, StuckBitShowsTheVerifyBox)
{
    struct Case
    {
        int answer;
        Shown shown;
        int lines;
    };
    const Case cases[] = {
        {Dialogs::Ignore, {{QStringLiteral("Failed"), QStringLiteral("DATA FAILED")}}, 128},
        {Dialogs::Abort, {{QStringLiteral("Aborted"), QStringLiteral("DATA Aborted")}}, 2},
    };
    for (const Case &c : cases) {
        MemoryBench bench(image(LoggerPreset::Finished, 1, 0));
        bench.logger.faults().stickBits(SimFaults::Memory::Data, 0x3F60, 0x01, true); // "AA" reads "AB"
        bench.dialogs.allow(FVerify, c.answer);
        DataMemoryTest test(bench.parts);
        EXPECT_FALSE(test.subChkDataMem(DataMemoryTest::Length::Quick));
        EXPECT_EQ(bench.shownTexts, c.shown);
        EXPECT_EQ(bench.addressesWritten('f').size(), c.lines);
        ASSERT_FALSE(bench.dialogs.shown().empty());
        EXPECT_TRUE(bench.dialogs.shown().front().text.startsWith(
            QStringLiteral("DATA Write Confirmation ERROR! at: 003F60")));
    }
}

// 128 KiB and 512 KiB loggers, and loggers whose header claims more memory
// than the chips fitted (which repeat lower down).
TEST(MemoryTopProbe, FindsTheTopOfTheFittedMemory)
{
    struct Case
    {
        const char *name;
        int chips, typeCode;
        qint64 fitted;
        std::optional<qint64> top;
        QString message;
    };
    const QString Warning = QStringLiteral(" MEMORY CHIPS ARE NOT SET CORRECTLY!\r\n\r\n");
    const Case cases[] = {
        {"128 KiB", 1, 3, 0x20000, 0x20000, QStringLiteral("Top of memory is at 020000h, or 131072d.")},
        {"512 KiB", 1, 5, 0, std::nullopt, QString()},
        {"512 KiB claimed, 128 KiB fitted", 4, 3, 0x20000, 0x20000,
         Warning + QStringLiteral("Top of memory is at 020000h, or 131072d.")},
        {"128 KiB claimed, 64 KiB fitted", 2, 2, 0x10000, 0x10000,
         Warning + QStringLiteral("Top of memory is at 010000h, or 65536d.")},
    };
    for (const Case &c : cases) {
        MemoryBench bench(MemoryBench::image(LoggerPreset::Finished, c.chips, c.typeCode));
        bench.logger.faults().fitDataMemory(c.fitted);
        if (!c.message.isEmpty())
            bench.dialogs.expect(QStringLiteral("Top of Memory"));
        MemoryTopProbe probe(bench.parts);
        EXPECT_EQ(probe.probe(), c.top) << c.name;
        const QList<Write> f = bench.writes('f');
        ASSERT_EQ(f.size(), 4 * 14) << c.name;
        EXPECT_EQ(f.front(), (Write{"06FFF0", "0123456789ABCDEF0123456789ABCDEF"})) << c.name;
        EXPECT_EQ(f.at(1), (Write{"06FFF0", "06FFF0C" + QString(25, u'A')})) << c.name;
        EXPECT_EQ(f.back(), (Write{"008000", "008000C" + QString(25, u'1')})) << c.name;
        if (c.message.isEmpty())
            EXPECT_TRUE(bench.dialogs.shown().empty()) << c.name;
        else
            EXPECT_EQ(bench.dialogs.shown().back().text, c.message) << c.name;
    }
}

// Every test that writes asks to stop a running test first; declined, it
// writes nothing.
TEST(MemoryTests, DeclinedStopLoggingWritesNothing)
{
    const std::function<bool(MemoryBench &)> runs[] = {
        [](MemoryBench &b) { return HeaderMemoryTest(b.parts, [&b] { return b.scratch.path(); }).subChkHdrMem(); },
        [](MemoryBench &b) { return DataMemoryTest(b.parts).subChkDataMem(DataMemoryTest::Length::Quick); },
        [](MemoryBench &b) { return MemoryTopProbe(b.parts).probe().has_value(); },
    };
    for (const auto &run : runs) {
        MemoryBench bench(MemoryBench::image(LoggerPreset::Logging));
        const LoggerImage before = bench.logger.image();
        bench.dialogs.expect(QStringLiteral("Stop Logging?"), Dialogs::Cancel);
        EXPECT_FALSE(run(bench));
        for (char letter : {'b', 'd', 'f', 'q', 'm'})
            EXPECT_EQ(bench.port.lettersWritten(letter), 0) << letter;
        EXPECT_TRUE(bench.logger.isLogging());
        EXPECT_TRUE(bench.shownTexts.isEmpty());
    }
}
