#include "logger/HeaderDecoder.h"
#include "logger/LoggerHeader.h"

#include <gtest/gtest.h>

namespace {

const QString Erased = QString(16, QChar(0xFF));

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
}

} // namespace

TEST(HeaderDecoder, IdentityLinesFillTheirFields)
{
    LoggerHeader h;
    HeaderDecoder::applyLine(h, 0x0200, "T410-8MC00041002");
    HeaderDecoder::applyLine(h, 0x0210, "0762Z823020000AC");
    HeaderDecoder::applyLine(h, 0x0220, "ENG-Z8A SC-MC8  ");
    HeaderDecoder::applyLine(h, 0x0230, "E0041002S0041002");
    HeaderDecoder::applyLine(h, 0x0240, "UNlock:40000.125");
    HeaderDecoder::applyLine(h, 0x02B0, "client info???  ");
    HeaderDecoder::applyLine(h, 0x02D0, "PIC18F8X0.25-40 ");
    EXPECT_EQ(h.modelVersion, "T410-8MC");
    EXPECT_EQ(h.serialNumber, "00041002");
    EXPECT_EQ(h.headerVersion, "0762");
    EXPECT_EQ(h.firmwareVersion, "Z823");
    EXPECT_EQ(h.memoryInstalled, 0x20000u);
    EXPECT_EQ(h.memoryInstalledHex, "020000");
    EXPECT_EQ(h.installedChannels, 10);
    EXPECT_EQ(h.adResolution, 12);
    EXPECT_EQ(h.engineId, "ENG-Z8A ");
    EXPECT_EQ(h.sigConId, "SC-MC8  ");
    EXPECT_EQ(h.engineSn, "E0041002");
    EXPECT_EQ(h.sigConSn, "S0041002");
    EXPECT_EQ(h.factoryId, "UNlock:40000.125");
    EXPECT_EQ(h.clientInfo, "client info???  ");
    EXPECT_EQ(h.controllerId, "PIC18F8X");
    EXPECT_FLOAT_EQ(h.tcoreSlope, 0.25f);
    EXPECT_FLOAT_EQ(h.tcoreOffset, -40.0f);

    // The chip fields replace the size stated in 0210.
    HeaderDecoder::applyLine(h, 0x02C0, "24              ");
    EXPECT_EQ(h.memoryChips, 2);
    EXPECT_EQ(h.memoryTypeCode, 4);
    EXPECT_EQ(h.memoryInstalled, 524288u);
    EXPECT_EQ(h.memoryInstalledHex, "080000");
}

TEST(HeaderDecoder, TestLinesFillTheirFields)
{
    LoggerHeader h;
    h.description = "old";
    HeaderDecoder::applyLine(h, 0x0400, "000010    TECH01");
    HeaderDecoder::applyLine(h, 0x0410, "003C00007800BB8X");
    HeaderDecoder::applyLine(h, 0x0420, "40123.5000000003");
    HeaderDecoder::applyLine(h, 0x0430, "40124.0000000011");
    HeaderDecoder::applyLine(h, 0x0440, "40125.2500004-05");
    HeaderDecoder::applyLine(h, 0x0460, "line two        ");
    HeaderDecoder::applyLine(h, 0x0490, "0758++++++++++++");
    HeaderDecoder::applyLine(h, 0x0500, "40000.000000    ");
    HeaderDecoder::applyLine(h, 0x0540, "2011/09/23 10:00");
    HeaderDecoder::applyLine(h, 0x0560, "0 .CSV          ");
    HeaderDecoder::applyLine(h, 0x0550, "00041002-2011092");
    EXPECT_EQ(h.testPointer, 16u);
    EXPECT_EQ(h.initializedBy, "    TECH01");
    EXPECT_EQ(h.scanPeriod, 60u);
    EXPECT_EQ(h.waitTime, 120u);
    // Reading stops at the first character that is not a hex digit.
    EXPECT_EQ(h.scanCount, 0xBB8u);
    EXPECT_EQ(h.initDate, local(2009, 11, 6, 12));
    EXPECT_EQ(h.batteryInits, 3u);
    EXPECT_EQ(h.startDate, local(2009, 11, 7));
    EXPECT_EQ(h.totalInits, 17u);
    EXPECT_EQ(h.stopDate, local(2009, 11, 8, 6));
    EXPECT_EQ(h.activeChannelCount, 4);
    EXPECT_EQ(h.initTimeZone, "-05");
    // Lines not read keep what the field held.
    EXPECT_EQ(h.description, "old" + QString(13, ' ') + "line two" + QString(40, ' '));
    EXPECT_EQ(h.initHeaderVersion, "0758");
    EXPECT_EQ(h.batteryDate, local(2009, 7, 6));
    EXPECT_EQ(h.lastDownloadTime, "2011/09/23 10:00");
    EXPECT_EQ(h.lastDownloadFile, "00041002-20110920 .CSV          ");
}

TEST(HeaderDecoder, JunkReadsAsTheConversionsReadIt)
{
    LoggerHeader h;
    HeaderDecoder::applyLine(h, 0x0210, "0762Z823GGGGGGFF");
    EXPECT_EQ(h.memoryInstalled, 0u);
    EXPECT_EQ(h.installedChannels, 15);
    EXPECT_EQ(h.adResolution, 15);
    EXPECT_EQ(h.channelBlocks(), 8);

    HeaderDecoder::applyLine(h, 0x0410, "    ZZZZZZ    12");
    EXPECT_EQ(h.scanPeriod, 0u);
    EXPECT_EQ(h.waitTime, 0u);
    EXPECT_EQ(h.scanCount, 0x12u);

    h.startDate = local(2011, 1, 1);
    HeaderDecoder::applyLine(h, 0x0430, "abcde.fghijk0001");
    EXPECT_FALSE(h.startDate.isValid());

    HeaderDecoder::applyLine(h, 0x02C0, "F3              ");
    EXPECT_EQ(h.memoryChips, 0);
    EXPECT_EQ(h.memoryInstalled, 0u);
    HeaderDecoder::applyLine(h, 0x02D0, "PIC18F8X        ");
    EXPECT_EQ(h.tcoreSlope, 0.0f);
    EXPECT_EQ(h.tcoreOffset, 0.0f);

    // Erased memory everywhere.
    for (int address : {0x0200, 0x0210, 0x02C0, 0x02D0, 0x0400, 0x0410, 0x0420, 0x0430, 0x0440,
                        0x0450, 0x0490, 0x0500, 0x0540, 0x0550, 0x0560})
        HeaderDecoder::applyLine(h, address, Erased);
    EXPECT_EQ(h.modelVersion, Erased.left(8));
    EXPECT_EQ(h.installedChannels, 0);
    EXPECT_EQ(h.channelBlocks(), 0);
    EXPECT_EQ(h.memoryChips, 0);
    EXPECT_EQ(h.scanPeriod, 0u);
    EXPECT_FALSE(h.initDate.isValid());
    EXPECT_EQ(h.lastDownloadFile, QString(32, QChar(0xFF)));
}

TEST(HeaderDecoder, ChannelBlockLinesFillTheRecord)
{
    const QStringList block = {
        "PX309-1KP1187342", "PSI +2.73224E-01", "PUMP-4.09836E+01", "+1.00000E+03 mV ",
        "+0.00000E+00008B", "+1.00000E+00E00C", "40488.000000xxxx", "+1.50000E+02dum3",
        "+0.00000E+00    ", "+0.00000E+00    ", "+3.75000E+03    ", "+1.00000E+030   ",
        "+1.00000E+03    ", "+5.00000E+03uAmp", "-4.09836E+01    ", "+1.07787E+03    ",
    };
    ChannelCalRecord r;
    r.calType = 1;
    for (int line = 0; line < 16; ++line)
        HeaderDecoder::applyChannelLine(r, line * 16, block[line]);
    EXPECT_EQ(r.modelNumber, "PX309-1K");
    EXPECT_EQ(r.serialNumber, "P1187342");
    EXPECT_EQ(r.engUnits, "PSI ");
    EXPECT_EQ(r.slope.text, "+2.73224E-01");
    EXPECT_FLOAT_EQ(r.slope.value, 0.273224f);
    EXPECT_EQ(r.sensitivity.text, r.slope.text);
    EXPECT_EQ(r.sensitivity.value, r.slope.value);
    EXPECT_EQ(r.location, "PUMP");
    EXPECT_FLOAT_EQ(r.offset.value, -40.9836f);
    EXPECT_FLOAT_EQ(r.scExcitation.value, 1000.0f);
    EXPECT_EQ(r.excitationUnits, " mV ");
    EXPECT_EQ(r.scOffset.text, "+0.00000E+00");
    EXPECT_FLOAT_EQ(r.scGain.value, 1.0f);
    EXPECT_EQ(r.calDue, "2010/11/06");
    EXPECT_FLOAT_EQ(r.milliAt0.value, 150.0f);
    EXPECT_FLOAT_EQ(r.milliAt100.value, 3750.0f);
    EXPECT_FLOAT_EQ(r.euAt100.value, 1000.0f);
    EXPECT_EQ(r.calType, 0);
    EXPECT_FLOAT_EQ(r.fsEuAt100.value, 1000.0f);
    EXPECT_FLOAT_EQ(r.excitation.value, 5000.0f);
    EXPECT_EQ(r.scOutputAt0.text, "-4.09836E+01");
    EXPECT_FLOAT_EQ(r.scOutputAt100.value, 1077.87f);

    // calType takes only 0 and 1.
    for (const auto &[flag, expected] : {std::pair("1", 1), std::pair("x", 1), std::pair("0", 0),
                                         std::pair(" ", 0), std::pair("7", 0)}) {
        HeaderDecoder::applyChannelLine(r, 0xB0, QStringLiteral("+1.00000E+03") + flag + "   ");
        EXPECT_EQ(r.calType, expected) << flag;
    }

    HeaderDecoder::missingChannelLine(r, 0xE0);
    EXPECT_EQ(r.scOutputAt0.text, "0");
    EXPECT_EQ(r.scOutputAt0.value, 0.0f);
    EXPECT_EQ(r.scOutputAt100.text, "+1.07787E+03");
}

TEST(HeaderDecoder, CalibrationDueDateRepairAndDefaults)
{
    const struct
    {
        QString field, repaired, shown;
    } cases[] = {
        {"40123.xxxxxx", "40123.000000", "2009/11/06"},
        {"40123.000000", "40123.000000", "2009/11/06"},
        {"40123.500000", "40123.500000", "2009/11/06"},
        {"00123.xx    ", "00123.000000", "1900/05/02"},
        {QString(12, ' '), QString(12, ' '), "2010/01/01"},
        {QString(12, QChar(0xFF)), QString(12, QChar(0xFF)), "2010/01/01"},
        {"abcde.xxxxxx", "00000.000000", "1899/12/30"},
        {"abc.defghijk", "abc.defghijk", "2010/01/01"},
        {"2012/05/06  ", "2012/05/06  ", "2010/01/01"},
        {"40123.x", "40123.000000", "2009/11/06"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(HeaderDecoder::repairedCalDue(c.field), c.repaired) << c.field.toStdString();
        EXPECT_EQ(HeaderDecoder::calDueDate(HeaderDecoder::repairedCalDue(c.field)), c.shown)
            << c.field.toStdString();
    }
}

TEST(HeaderDecoder, NotesEndAtTheCaretWithLineBreaks)
{
    EXPECT_EQ(HeaderDecoder::notesText("AB@@CD^EF"), QString("AB\r\nCD"));
    EXPECT_EQ(HeaderDecoder::notesText("^@@"), QString());
    EXPECT_EQ(HeaderDecoder::notesText("A@@@B^"), QString("A\r\n@B"));
    EXPECT_FALSE(HeaderDecoder::notesText("no end mark").has_value());
    EXPECT_FALSE(HeaderDecoder::notesText(QString()).has_value());
}

TEST(HeaderDecoder, NumericValueReadsTheLeadingNumber)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
        {"+1.23457E+03", 1234.57}, {"-2.50000E-01", -0.25}, {"  12.5abc", 12.5},
        {"0.25", 0.25},            {"-40 ", -40},           {"    ", 0},
        {"abc", 0},                {"E5", 0},               {".5", 0.5},
        {"7E", 7},                 {"7E+", 7},              {"+", 0},
        {"\xff\xff", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(HeaderDecoder::numericValue(QString::fromLatin1(c.text)), c.value) << c.text;

    // A value beyond a float's range saturates rather than overflowing.
    ChannelCalRecord r;
    HeaderDecoder::applyChannelLine(r, 0x10, "PSI +9.99999E+99");
    EXPECT_EQ(r.slope.value, std::numeric_limits<float>::max());
}
