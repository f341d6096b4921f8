#include "cli/CliOptions.h"

#include <gtest/gtest.h>

TEST(CliOptions, DurationsInSecondsMinutesAndHours)
{
    const struct {
        const char *text;
        qint64 seconds;
    } cases[] = {
        {"60s", 60}, {"5m", 300}, {"2h", 7200}, {"90", 90}, {"1.5m", 90}, {"18.2h", 65520},
        {"65535s", 65535}, {"65536s", -1}, {"-5s", -1}, {"1e9h", -1}, {"0s", -1}, {"0.4s", -1},
        {"", -1}, {"5 minutes", -1}, {"s", -1}, {"999999999h", -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CliOptions::parseDuration(c.text, 65535), c.seconds) << c.text;
}

TEST(CliOptions, ChannelListsAndRanges)
{
    const struct {
        const char *text;
        QList<int> channels;
    } cases[] = {
        {"1-4", {1, 2, 3, 4}}, {"2", {2}}, {"1,3,5", {1, 3, 5}}, {"5,1-2", {1, 2, 5}}, {"8", {8}},
        {"0-9", {}}, {"0", {}}, {"9", {}}, {"4-1", {}}, {"1-2-3", {}}, {"", {}}, {"a", {}}, {"1,,2", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CliOptions::parseChannels(c.text), c.channels) << c.text;
}

TEST(CliOptions, CommandAndCommonOptions)
{
    const CliOptions o = CliOptions::parse({"datalogger-cli", "download", "--port", "/dev/ttyUSB3", "--baud",
                                            "9600", "--json", "--yes", "--no-handshake", "--notes", "Site 4",
                                            "--out", "/tmp/x", "--raw"});
    ASSERT_FALSE(o.exitNow) << o.message.toStdString();
    EXPECT_EQ(o.command, "download");
    EXPECT_EQ(o.port, "/dev/ttyUSB3");
    EXPECT_EQ(o.baud, "9600");
    EXPECT_TRUE(o.json && o.yes && o.noHandshake && o.raw);
    EXPECT_EQ(o.notes, "Site 4");
    EXPECT_EQ(o.out, "/tmp/x");
    EXPECT_TRUE(o.tidy) << "the tidy export is on by default";
}

TEST(CliOptions, NoTidyTurnsTheTidyExportOffForDownloadOnly)
{
    const CliOptions o = CliOptions::parse({"datalogger-cli", "download", "--demo", "--no-tidy"});
    ASSERT_FALSE(o.exitNow) << o.message.toStdString();
    EXPECT_FALSE(o.tidy);
    const CliOptions status = CliOptions::parse({"datalogger-cli", "status", "--demo", "--no-tidy"});
    EXPECT_TRUE(status.exitNow);
    EXPECT_EQ(status.message, "datalogger-cli: option --no-tidy does not apply to status\n");
}
