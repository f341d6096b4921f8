#include "logger/LoggerHeader.h"
#include "logger/download/CsvHeaderBlock.h"
#include "logger/download/CsvText.h"
#include "logger/download/DataWords.h"
#include "logger/download/DownloadColumns.h"
#include "logger/download/DownloadNotes.h"
#include "logger/download/SafeFileName.h"

#include <gtest/gtest.h>

TEST(DataWords, ReplyLineGivesEightTaggedCounts)
{
    // "e", address 000010, "#", 32 digits, checksum.
    const auto words = DataWords::fromReplyLine("e000010#0ABC1FFF2000F0123FFF4001x00yzzzz7E");
    ASSERT_TRUE(words);
    EXPECT_EQ((*words)[0].tag, 0);
    EXPECT_EQ((*words)[0].count, 0xABC);
    EXPECT_EQ((*words)[1].tag, 1);
    EXPECT_EQ((*words)[1].count, 4095);
    EXPECT_EQ((*words)[2].count, 0);
    EXPECT_EQ((*words)[3].tag, 15);
    EXPECT_EQ((*words)[4].tag, 3);
    EXPECT_EQ((*words)[5].tag, 4);
    EXPECT_EQ((*words)[5].count, 1);
    // Digits that are not hexadecimal make an invalid word, never a reading.
    EXPECT_EQ((*words)[6].tag, -1);
    EXPECT_EQ((*words)[7].tag, -1);
    EXPECT_FALSE(DataWords::fromReplyLine("e000010#0ABC"));
}

// Reply lines whose checksum held but whose digits carry a sign or a blank:
// the number conversion accepted them, and "0-01" became a reading of -1.
TEST(DataWords, OnlyHexadecimalDigitsMakeAWord)
{
    struct Case { const char *digits; int tag; int count; };
    const Case cases[] = {
        {"0-01", -1, 0},
        {"-001", -1, 0},
        {"0+FF", -1, 0},
        {"+1FF", -1, 0},
        {"0 FF", -1, 0},
        {" 1FF", -1, 0},
        {"00F ", -1, 0},
        {"0x1F", -1, 0},
        {"1abc", 1, 0xABC},
        {"F000", 15, 0},
    };
    for (const Case &c : cases) {
        const QString line = QStringLiteral("e000010#") + QString::fromLatin1(c.digits)
            + QStringLiteral("0000000000000000000000000000") + QStringLiteral("00");
        const auto words = DataWords::fromReplyLine(line);
        ASSERT_TRUE(words) << c.digits;
        EXPECT_EQ((*words)[0].tag, c.tag) << c.digits;
        EXPECT_EQ((*words)[0].count, c.count) << c.digits;
        EXPECT_EQ((*words)[1].tag, 0) << c.digits;
    }
}

TEST(DataWords, TagsMapToColumnsByTheShapeOfTheTest)
{
    struct Case { int tag; int channels; bool monitor; WordMeaning::Kind kind; int column; };
    const Case cases[] = {
        {0, 3, false, WordMeaning::Channel, 0},
        {2, 3, false, WordMeaning::Channel, 2},
        {3, 3, false, WordMeaning::Invalid, -1},
        {3, 3, true, WordMeaning::Channel, 8},
        {4, 3, true, WordMeaning::Channel, 9},
        {5, 3, true, WordMeaning::Invalid, -1},
        {15, 3, true, WordMeaning::Status, -1},
        {15, 8, true, WordMeaning::Status, -1},
        {-1, 3, false, WordMeaning::Invalid, -1},
    };
    for (const Case &c : cases) {
        const WordMeaning m = DataWords::meaning(c.tag, c.channels, c.monitor);
        EXPECT_EQ(m.kind, c.kind) << "tag " << c.tag;
        EXPECT_EQ(m.column, c.column) << "tag " << c.tag;
    }
}

TEST(DownloadColumns, ChannelConfigurationOfTheLogger)
{
    // Channels 1-3 active, channel 2 as monitor (64 + 128 + 2 in channel 1's byte).
    const DownloadColumns withMonitor =
        DownloadColumns::fromChannelConfig("C2404000000000000000000000000000");
    EXPECT_EQ(withMonitor.activeList(), (QList<int>{0, 1, 2, 8, 9}));
    EXPECT_EQ(withMonitor.monitorChannel, 2);
    EXPECT_EQ(withMonitor.channelIndex(8), 1);
    const DownloadColumns plain = DownloadColumns::fromChannelConfig("40400000000000000000000000000000");
    EXPECT_EQ(plain.activeList(), (QList<int>{0, 1}));
    EXPECT_FALSE(plain.hasMonitor());
}

TEST(CsvText, TextCellsCannotShiftColumnsOrRunAsFormulas)
{
    const std::pair<QString, QString> cases[] = {
        {"Pump 7", "\"Pump 7\""},
        {"say \"hi\", then", "\"say \"\"hi\"\", then\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "\"'+1\""},
        {"-cmd", "\"'-cmd\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\tx", "\"'\tx\""},
        {"two\r\nlines", "\"two lines\""},
        {"", "\"\""},
    };
    for (const auto &[text, cell] : cases)
        EXPECT_EQ(CsvText::quoted(text), cell) << text.toStdString();
}

TEST(CsvText, EngineeringCellsAreFormulasOverTheHeaderBlockOrClipTexts)
{
    EXPECT_EQ(CsvText::columnLetters(1), "A");
    EXPECT_EQ(CsvText::columnLetters(26), "Z");
    EXPECT_EQ(CsvText::columnLetters(27), "AA");
    EXPECT_EQ(CsvText::engineeringCell(1234, 3, 6, 12, 9), "=C12*F$9+F$10+F$8");
    EXPECT_EQ(CsvText::engineeringCell(0, 3, 6, 12, 9), "Low Clip");
    EXPECT_EQ(CsvText::engineeringCell(4095, 3, 6, 12, 9), "High Clip");
    EXPECT_EQ(CsvText::engineeringCell(4094, 4, 7, 30, 17), "=D30*G$17+G$18+G$16");
}

TEST(SafeFileName, LoggerTextNeverLeavesTheFolderNorBreaksTheName)
{
    const std::pair<QString, QString> parts[] = {
        {"LGR-0042", "LGR-0042"},
        {"../../et", "______et"},
        {"A\\B/C:D", "A_B_C_D"},
        {"a*?\"<>|b", "a______b"},
        {QString("x") + QChar(7) + "y", "x_y"},
        {"SN  ", "SN  "},
    };
    for (const auto &[text, name] : parts)
        EXPECT_EQ(SafeFileName::part(text), name) << text.toStdString();
    EXPECT_EQ(SafeFileName::whole("SN  "), "SN__");
    EXPECT_EQ(SafeFileName::whole("name."), "name_");
    EXPECT_EQ(SafeFileName::whole(""), "_");
}

TEST(DownloadNotes, OperatorTextBreaksAtLineEndsAndAtABlankPastFortyCharacters)
{
    const QString longLine = "Sensor 3 was replaced on site before the test began and rechecked";
    const QStringList lines = DownloadNotes::operatorLines("First\r\nSecond\nThird\r" + longLine);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "First");
    EXPECT_EQ(lines[1], "Second");
    EXPECT_EQ(lines[2], "Third");
    EXPECT_EQ(lines[3], "Sensor 3 was replaced on site before the");
    EXPECT_EQ(lines[4], "test began and rechecked");
}

TEST(DownloadNotes, EachConditionAddsItsLines)
{
    DownloadNotes::Facts facts;
    facts.periodSeconds = 60;
    EXPECT_TRUE(DownloadNotes::lines(facts).isEmpty());

    facts.premature = true;
    facts.addressReached = 8000;
    facts.endAddress = 16000;
    facts.lowBattery = true;
    facts.firstEventReached = true;
    facts.firstEventScan = 2100;
    facts.status = 0x42;
    facts.alerts = "42 StatusByte@Scan: 2100 -- Low Battery";
    facts.cancelled = true;
    facts.periodSeconds = 5;
    facts.periodText = "00:00:05";
    facts.operatorNotes = "Checked by R.";
    const QStringList lines = DownloadNotes::lines(facts);
    EXPECT_EQ(lines[0], "                        ****** WARNING! *****");
    EXPECT_EQ(lines[3], "at 8000 out of 15984");
    EXPECT_TRUE(lines.contains("WARNING: Low Battery occured during test."));
    EXPECT_TRUE(lines.contains("First Status Event occured at scan number 2100."));
    EXPECT_TRUE(lines.contains("Alerts: 42 StatusByte@Scan: 2100 -- Low Battery"));
    EXPECT_TRUE(lines.contains("8000 of 16000 scans completed."));
    EXPECT_TRUE(lines.contains("The scan interval was set to 00:00:05."));
    EXPECT_EQ(lines.last(), "Checked by R.");

    // A status event without the supply or battery bits is no warning.
    facts.status = 0x40;
    EXPECT_FALSE(DownloadNotes::lines(facts).contains("WARNING: Status Event."));
}

TEST(CsvHeaderBlock, ChannelRowsLeaveRoomForTheCountsAndPutValuesInTheFormulasColumns)
{
    LoggerHeader header;
    header.description = "Line \"A\", north";
    header.initTimeZone = "-05";
    header.channel[0].slope = {"+2.50000E-02", 0.025f};
    header.channel[1].slope = {"+1.00000E+00", 1.0f};
    header.channel[1].offset = {"-4.00000E+01", -40.0f};
    header.channel[1].location = "Pipe";
    CsvHeaderBlock::Inputs inputs;
    inputs.columns.active[0] = inputs.columns.active[1] = true;
    inputs.presentOffsetHours = -5;
    const CsvHeaderBlock block = CsvHeaderBlock::build(header, inputs);

    ASSERT_EQ(block.lines.size(), 20);
    EXPECT_EQ(block.lines[0], "Description:,\"Line \"\"A\"\", north\"");
    EXPECT_EQ(block.lines[1], "Download Time Zone:,-5,Initialization Time Zone:,-05");
    EXPECT_EQ(block.lines[2], ",NOTE: Time Zones are the same.");
    EXPECT_EQ(block.lines[10], "");
    EXPECT_EQ(block.lines[block.slopeLine], ",,,,Slope:,+2.50000E-02,+1.00000E+00,");
    EXPECT_EQ(block.lines[block.slopeLine - 1], ",,,,TARE:,0,0,");
    EXPECT_EQ(block.lines[block.slopeLine + 1], ",,,,Offset:,0,-4.00000E+01,");
    EXPECT_EQ(block.lines[11], ",,,,Chans:,chan. 1,chan. 2,");
    EXPECT_EQ(block.lines[12], ",,,,Location:,\"\",\"Pipe\",");

    inputs.presentOffsetHours = 1;
    EXPECT_EQ(CsvHeaderBlock::build(header, inputs).lines[2],
              ",NOTE: Initialization and Download Time Zones are NOT the same!");
}

TEST(CsvHeaderBlock, MonitorColumnsTakeTheMonitorChannelsCalibration)
{
    LoggerHeader header;
    header.channel[2].location = "Tank";
    header.channel[2].engUnits = "degC";
    header.channel[2].slope = {"+5.00000E-02", 0.05f};
    CsvHeaderBlock::Inputs inputs;
    inputs.columns = DownloadColumns::fromChannelConfig("C3404000000000000000000000000000");
    const CsvHeaderBlock block = CsvHeaderBlock::build(header, inputs);
    EXPECT_EQ(block.lines[11], ",,,,,,,Chans:,chan. 1,chan. 2,chan. 3,chan. 9,chan. 10,");
    EXPECT_EQ(block.lines[12], ",,,,,,,Location:,\"\",\"\",\"Tank\",\"Tank Max\",\"Tank Min\",");
    EXPECT_TRUE(block.lines[block.slopeLine].endsWith(",+5.00000E-02,+5.00000E-02,+5.00000E-02,"));
    EXPECT_TRUE(block.lines[19].endsWith(",\"degC\",\"degC Max\",\"degC Min\","));

    // Monitor columns with no channel behind them show their counts.
    inputs.columns.monitorChannel = 0;
    const CsvHeaderBlock counts = CsvHeaderBlock::build(header, inputs);
    EXPECT_TRUE(counts.lines[counts.slopeLine].endsWith(",+5.00000E-02,1,1,"));
    EXPECT_TRUE(counts.lines[counts.slopeLine + 1].endsWith(",0,0,"));
}
