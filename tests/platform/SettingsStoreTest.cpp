#include "platform/PortSettings.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {
const QString App = QStringLiteral("DataLogger");
const QString Startup = QStringLiteral("T410-Ops\\Startup");
} // namespace

TEST(SettingsStore, KeysMatchWithoutRegardToCaseAndSurviveReopening)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    {
        SettingsStore store(file);
        EXPECT_EQ(store.GetSetting(App, Startup, "DefaultScanList", "0000"), "0000");
        store.SaveSetting(App, Startup, "DefaultScanlist", "11110000");
        EXPECT_EQ(store.GetSetting(App, Startup, "DefaultScanList", "0000"), "11110000");
        store.SaveSetting(App, Startup, "DEFAULTSCANLIST", "10100000");
        store.SaveSetting(App, Startup, "Logger_Baud", "9600,N,8,1");
    }
    SettingsStore reopened(file);
    EXPECT_EQ(reopened.GetSetting(App, "t410-ops\\startup", "defaultscanlist", ""), "10100000");
    EXPECT_EQ(reopened.GetSetting(App, Startup, "Logger_Baud", ""), "9600,N,8,1");
    EXPECT_EQ(reopened.GetSetting(App, Startup, "Missing", "dflt"), "dflt");
}

TEST(SettingsStore, UnreadableFileGivesDefaults)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("junk.ini"));
    QFile junk(file);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x00\xff[[[=\n=== garbage \x01\x02\n[DataLogger\n");
    junk.close();
    SettingsStore store(file);
    EXPECT_EQ(store.GetSetting(App, Startup, "CommPortNum", "0"), "0");
}

// Settings values from a hand-edited file: a number far outside a qint64 once
// reached an undefined conversion; it must simply give the default.
TEST(StartupSettings, HugeOrMalformedWholeNumbersGiveTheDefault)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    struct Case { const char *stored; int expected; };
    const Case cases[] = {
        {"1e300", 7},
        {"-1e300", 7},
        {"9223372036854775808", 7},
        {"nan", 7},
        {"inf", 7},
        {"12abc", 7},
        {" 12 ", 12},
        {"12.5", 12},
        {"13.5", 14},
        {"-24", -24},
        {"25", 7},
    };
    SettingsStore store(file);
    StartupSettings settings(store);
    for (const Case &c : cases) {
        settings.save(QStringLiteral("GMTDelta"), QString::fromLatin1(c.stored));
        EXPECT_EQ(settings.getInt(QStringLiteral("GMTDelta"), 7, -24, 24), c.expected) << c.stored;
    }
}

TEST(StartupSettings, RoundingSaturatesBeyondTheWholeNumbers)
{
    constexpr qint64 Max = std::numeric_limits<qint64>::max();
    constexpr qint64 Min = std::numeric_limits<qint64>::min();
    EXPECT_EQ(StartupSettings::roundHalfEven(1e300), Max);
    EXPECT_EQ(StartupSettings::roundHalfEven(9223372036854775808.0), Max);
    EXPECT_EQ(StartupSettings::roundHalfEven(-1e300), Min);
    EXPECT_EQ(StartupSettings::roundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(StartupSettings::roundHalfEven(2.5), 2);
    EXPECT_EQ(StartupSettings::roundHalfEven(-3.5), -4);
}

TEST(PortSettings, ParsesTheSettingsTextAndRejectsJunk)
{
    PortSettings s;
    ASSERT_TRUE(PortSettings::parse("115200,N,8,1", &s));
    EXPECT_EQ(s.baud, 115200);
    EXPECT_EQ(s.toString(), "115200,N,8,1");
    for (const char *bad : {"", "abc", "9600,N,8", "9600,X,8,1", "-5,N,8,1", "9600,N,9,1"})
        EXPECT_FALSE(PortSettings::parse(bad, &s)) << bad;
    EXPECT_EQ(s.baud, 115200);
}
