#include "platform/PortSettings.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
