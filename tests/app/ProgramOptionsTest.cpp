#include "app/DemoLogger.h"
#include "app/ProgramOptions.h"
#include "platform/PortNames.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

ProgramOptions parse(const QStringList &arguments)
{
    return ProgramOptions::parse(QStringList{"datalogger"} + arguments);
}

} // namespace

TEST(ProgramOptions, DemoModeKeepsItsFilesInAFolderOfItsOwn)
{
    const FrmStartup::Options demo = parse({"--demo"}).windowOptions();
    EXPECT_TRUE(demo.demoMode);
    EXPECT_EQ(demo.defaultDataFolder, PortNames::demoDataFolder());
    EXPECT_NE(QDir::cleanPath(demo.defaultDataFolder), QDir::cleanPath(PortNames::defaultDataFolder()));
    EXPECT_TRUE(QDir::fromNativeSeparators(demo.defaultDataFolder)
                    .startsWith(QDir::fromNativeSeparators(PortNames::defaultDataFolder()) + "/"));
    EXPECT_TRUE(DemoLogger::defaultImageFile().startsWith(PortNames::demoDataFolder()));

    const FrmStartup::Options real = parse({}).windowOptions();
    EXPECT_FALSE(real.demoMode);
    EXPECT_EQ(real.defaultDataFolder, PortNames::defaultDataFolder());
}

TEST(ProgramOptions, APortGivenOnTheCommandLineReachesTheWindow)
{
    EXPECT_EQ(parse({"--port", "/dev/ttyUSB7"}).windowOptions().portDevice, "/dev/ttyUSB7");
    EXPECT_EQ(parse({}).windowOptions().portDevice, "");
}
