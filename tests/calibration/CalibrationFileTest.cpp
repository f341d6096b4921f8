#include "calibration/CalibrationFile.h"
#include "logger/LoggerHeader.h"
#include "logger/QuotedRecords.h"
#include "tests/support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

const CalibrationFile::Stamp Stamp{QStringLiteral("Thursday, 10 December 2026"), QStringLiteral("14:03:00 UTC")};

CalBoxes boxes()
{
    CalBoxes b;
    for (int number = 1; number < CalFields::CalType; ++number)
        b[number] = QStringLiteral("v%1").arg(number);
    b[2] = QStringLiteral("2027/03/15");
    b[4] = QStringLiteral("AB      ");
    b.twoPoint = true;
    return b;
}

LoggerHeader header(int channels)
{
    LoggerHeader h;
    h.installedChannels = qint16(channels);
    h.serialNumber = QStringLiteral("00041002");
    for (int i = 0; i < channels; ++i) {
        ChannelCalRecord &r = h.channel.at(i);
        r.modelNumber = QStringLiteral("MOD%1    ").arg(i + 1);
        r.serialNumber = QStringLiteral("SN%1     ").arg(i + 1);
        r.engUnits = QStringLiteral("PSI ");
        r.location = QStringLiteral("L%1  ").arg(i + 1);
        r.excitationUnits = QStringLiteral("mV  ");
        r.calDue = QStringLiteral("2027/03/15");
        r.slope = {QStringLiteral("+2.50000E-02"), 0.025f};
        r.calType = qint16(i % 2);
    }
    return h;
}

QByteArray file(const QStringList &lines)
{
    return lines.join(QStringLiteral("\r\n")).toUtf8();
}

} // namespace

TEST(CalibrationFileTest, SingleChannelFileLineByLine)
{
    const QStringList lines = QString::fromUtf8(CalibrationFile::singleChannelText(boxes(), Stamp))
                                  .split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 29); // 28 lines, each ended by CR LF
    EXPECT_EQ(lines[0], QStringLiteral("\"VOSK & Signal Conditioning Calibration Data\",\"File\""));
    EXPECT_EQ(lines[1], QStringLiteral("\"Thursday, 10 December 2026\",\"14:03:00 UTC\""));
    EXPECT_EQ(lines[2], QStringLiteral("\"\",\"\""));
    EXPECT_EQ(lines[3], QStringLiteral("\" 1: Sensor Num       \",\"v1\""));
    EXPECT_EQ(lines[6], QStringLiteral("\" 4: Model Num        \",\"AB      \""));
    EXPECT_EQ(lines[25], QStringLiteral("\"23: Sensitivity      \",\"v23\""));
    EXPECT_EQ(lines[26], QStringLiteral("\"24: Cal Type, point B\",\"2-point cal, 2nd point\""));
    EXPECT_EQ(lines[27], QStringLiteral("\"\",\"\""));
    EXPECT_EQ(lines[28], QString());
}

TEST(CalibrationFileTest, SingleChannelRoundTrip)
{
    CalBoxes written = boxes();
    written[5] = QStringLiteral(" a \"quoted\", text\t ");
    const auto read = CalibrationFile::readSingleChannel(CalibrationFile::singleChannelText(written, Stamp));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->boxes.size(), 22u);
    EXPECT_FALSE(read->boxes.contains(1));
    for (int number = 2; number < CalFields::CalType; ++number)
        EXPECT_EQ(read->boxes.at(number), written[number]) << number;
    EXPECT_EQ(read->twoPoint, true);

    written.twoPoint = false;
    EXPECT_EQ(CalibrationFile::readSingleChannel(CalibrationFile::singleChannelText(written, Stamp))->twoPoint, false);
    // Any other text than the two-point one reads unticked.
    const QByteArray other = file({QStringLiteral("\"VOSK & Signal Conditioning Calibration Data\",\"File\""),
                                   QStringLiteral("\"24: Cal Type, point B\",\"2-point cal\"")});
    EXPECT_EQ(CalibrationFile::readSingleChannel(other)->twoPoint, false);
}

TEST(CalibrationFileTest, AllChannelFileLineByLine)
{
    LoggerHeader h = header(2);
    const QStringList lines =
        QString::fromUtf8(CalibrationFile::allChannelText(h, QStringLiteral("/data/cal.txt"), QStringLiteral("T410-8MC"),
                                                          QStringLiteral("Bench 3"), Stamp))
            .split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 11 + 2 * 25 + 1);
    EXPECT_EQ(lines[0], QStringLiteral("\"Signal Conditioning Calibration Data\",\"\""));
    EXPECT_EQ(lines[2], QStringLiteral("\"Filename: \",\"/data/cal.txt\""));
    EXPECT_EQ(lines[5], QStringLiteral("\"\t\t\t\t\t\tModel Number:  \",\"T410-8MC\""));
    EXPECT_EQ(lines[6], QStringLiteral("\"\t\t\t\t\t\tSerial Number: \",\"00041002\""));
    EXPECT_EQ(lines[8], QStringLiteral("\"Bench 3\",\"\""));
    EXPECT_EQ(lines[11], QStringLiteral("\" 1: Sensor Num       \",1"));
    EXPECT_EQ(lines[12], QStringLiteral("\" 2: Cal Due Date     \",\"2027-03-15\""));
    EXPECT_EQ(lines[14], QStringLiteral("\" 4: Model Num        \",\"MOD1    \""));
    EXPECT_EQ(lines[25], QStringLiteral("\"15: DL Serial Num    \",\"00041002\""));
    EXPECT_EQ(lines[29], QStringLiteral("\"19: Logger Slope     \",\"+2.50000E-02\""));
    EXPECT_EQ(lines[34], QStringLiteral("\"24: Cal Type, point B\",\"DBST sensitivity\""));
    EXPECT_EQ(lines[36], QStringLiteral("\" 1: Sensor Num       \",2"));
    EXPECT_EQ(lines[59], QStringLiteral("\"24: Cal Type, point B\",\"2-point cal, 2nd point\""));
}

TEST(CalibrationFileTest, AllChannelRoundTrip)
{
    const LoggerHeader original = header(8);
    LoggerHeader loaded = header(8);
    for (ChannelCalRecord &r : loaded.channel)
        r = ChannelCalRecord();
    ASSERT_TRUE(CalibrationFile::readAllChannels(
        CalibrationFile::allChannelText(original, QString(), QString(), QString(), Stamp), loaded));
    for (int i = 0; i < 8; ++i) {
        for (int number = 3; number < CalFields::CalType; ++number) {
            if (number != CalFields::LoggerSerial)
                EXPECT_EQ(CalFields::recordText(loaded.channel[i], number),
                          CalFields::pad(CalFields::recordText(original.channel[i], number),
                                         CalFields::field(number).width))
                    << i << " " << number;
        }
        EXPECT_EQ(loaded.channel[i].calDue, QStringLiteral("2027-03-15"));
        EXPECT_EQ(loaded.channel[i].calType, original.channel[i].calType);
        // Only the texts change; the numbers wait for the write.
        EXPECT_EQ(loaded.channel[i].slope.value, 0.0f);
    }
}

// Blocks are taken as their channel lines direct; a channel the logger does
// not have drops its block and nothing else.
TEST(CalibrationFileTest, AllChannelBlockRules)
{
    const QString type = QStringLiteral("\"Signal Conditioning Calibration Data\",\"\"");
    const auto model = [](const char *value) {
        return QStringLiteral("\" 4: Model Num        \",\"%1\"").arg(QLatin1String(value));
    };
    const auto channel = [](const char *value) {
        return QStringLiteral("\" 1: Sensor Num       \",%1").arg(QLatin1String(value));
    };
    LoggerHeader h = header(4);
    ASSERT_TRUE(CalibrationFile::readAllChannels(
        file({type, model("first"), channel("3"), model("third"), channel("0"), model("zero"), channel("13"),
              model("thirteen"), QStringLiteral("\"15: DL Serial Num    \",\"NEWSERIAL9\""), channel("5"),
              model("five"), channel("x"), model("still5"), channel("2.5"), model("half"), channel("1.5"),
              model("two"), channel("-1e300"), model("huge"), model("AB")}),
        h));
    // Before any channel line: channel 1; 1.5 rounds to channel 1 and 2.5 to channel 3.
    EXPECT_EQ(h.channel[0].modelNumber, QStringLiteral("two     "));
    EXPECT_EQ(h.channel[1].modelNumber, QStringLiteral("MOD2    "));
    EXPECT_EQ(h.channel[2].modelNumber, QStringLiteral("half    "));
    EXPECT_EQ(h.channel[3].modelNumber, QStringLiteral("MOD4    "));
    EXPECT_EQ(h.channel[4].modelNumber, QString());
    EXPECT_EQ(h.channel[12 - 1].modelNumber, QString());
    EXPECT_EQ(h.serialNumber, QStringLiteral("NEWSERIA"));
}

TEST(CalibrationFileTest, DamagedFilesAreReadSafely)
{
    const QByteArray single = CalibrationFile::singleChannelText(boxes(), Stamp);
    const QByteArray all = CalibrationFile::allChannelText(header(8), QString(), QString(), QString(), Stamp);
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 37) & 0xFF);
    QByteArray huge = single.left(90);
    while (huge.size() < 5 * 1024 * 1024)
        huge += "\"23: Sensitivity      \",\"1\"\n";
    const QByteArray cases[] = {
        QByteArray(), single.left(60), single.left(single.size() / 2), binary, single + binary,
        QByteArray(single).replace("\r\n", "\n"), QByteArray(single).replace("\r\n", "\r"),
        QByteArray("\xEF\xBB\xBF") + single, QString::fromUtf8(single).toLatin1(), huge,
        QByteArray(single).replace('"', ""), "\"VOSK & Signal Conditioning Calibration Data", "\"\"\"\",,,,\"",
    };
    for (const QByteArray &bytes : cases) {
        CalibrationFile::readSingleChannel(bytes);
        LoggerHeader h = header(8);
        CalibrationFile::readAllChannels(bytes, h);
        for (const ChannelCalRecord &r : h.channel)
            EXPECT_LE(r.modelNumber.size(), 8);
    }
    // A file with LF endings or a byte-order mark still reads whole.
    EXPECT_EQ(CalibrationFile::readSingleChannel(QByteArray("\xEF\xBB\xBF") + QByteArray(single).replace("\r\n", "\n"))
                  ->boxes.size(),
              22u);
    // A truncated file gives what it holds.
    EXPECT_EQ(CalibrationFile::readSingleChannel(single.left(single.indexOf("12: EU")))->boxes.size(), 10u);
    // Labels out of order or repeated: the last one counts.
    LoggerHeader h = header(2);
    EXPECT_TRUE(CalibrationFile::readAllChannels(all.left(all.indexOf("\" 1: Sensor Num       \",2")) + all.right(200), h));
    EXPECT_FALSE(CalibrationFile::readAllChannels(single, h));
    EXPECT_FALSE(CalibrationFile::readSingleChannel(all));
}

TEST(CalibrationFileTest, ItemsOfALine)
{
    const std::pair<const char *, QStringList> cases[] = {
        {"\"a\",\"b\"", {QStringLiteral("a"), QStringLiteral("b")}},
        {"\"a, b\",1", {QStringLiteral("a, b"), QStringLiteral("1")}},
        {"\"say \"\"hi\"\"\",\"\"", {QStringLiteral("say \"hi\""), QString()}},
        {"\" pad \",  7 ", {QStringLiteral(" pad "), QStringLiteral("7")}},
        // An older file's quote inside a text is kept.
        {"\"5\" pipe\",\"x\"", {QStringLiteral("5\" pipe"), QStringLiteral("x")}},
        {"", {QString()}},
        {"\"open", {QStringLiteral("open")}},
    };
    for (const auto &[line, items] : cases)
        EXPECT_EQ(QuotedRecords::items(QString::fromUtf8(line)), items) << line;
}
