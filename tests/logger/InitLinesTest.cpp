#include "logger/DefaultCalibration.h"
#include "logger/FactoryFields.h"
#include "logger/InitLines.h"
#include "logger/TestSetup.h"
#include "logger/TripLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

TestSetup channels(std::initializer_list<int> active, int monitor)
{
    TestSetup s;
    for (int c : active) {
        s.channelSelect[size_t(c - 1)] = TestSetup::Active;
        s.highestChannel = std::max(s.highestChannel, c);
    }
    s.monitorChannel = monitor;
    return s;
}

FactoryFields goodIdentity()
{
    FactoryFields f;
    f.modelVersion = "T410-8MC";
    f.serialNumber = "00041002";
    f.firmwareVersion = "Z823";
    f.memoryInstalledHex = "020000";
    f.installedChannels = 8;
    f.adResolution = 12;
    f.engineId = "ENG-Z8A";
    f.sigConId = "SC-MC8";
    f.engineSn = "E0041002";
    f.sigConSn = "S0041002";
    return f;
}

} // namespace

TEST(InitLines, ChannelConfigurationCarriesMonitorInChannelOne)
{
    struct Case { TestSetup setup; QString digits; };
    const Case cases[] = {
        {channels({1, 2, 3, 4}, 3), "C3404040000000000000000000000000"},
        {channels({1, 2, 3, 4}, 0), "40404040000000000000000000000000"},
        {channels({1, 8}, 8), "C8000000000000400000000000000000"},
        {channels({1, 2, 3, 4, 5, 6, 7, 8}, 1), "C1404040404040400000000000000000"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(InitLines::channelConfig(c.setup), c.digits);
}

TEST(InitLines, TimeZoneIsASignAndTwoDigits)
{
    const std::pair<int, QString> cases[] = {{0, "+00"}, {-7, "-07"}, {8, "+08"}, {-5, "-05"}, {12, "+12"}};
    for (const auto &[hours, text] : cases)
        EXPECT_EQ(InitLines::timeZoneText(hours), text) << hours;
}

TEST(InitLines, DescriptionIsPaddedOrCutToFourLinesOfSixteen)
{
    const QString seventy = QString("0123456789").repeated(7);
    EXPECT_EQ(InitLines::descriptionLines(seventy),
              QStringList({"0123456789012345", "6789012345678901", "2345678901234567",
                           "8901234567890123"}));
    EXPECT_EQ(InitLines::descriptionLines("Pump 7"),
              QStringList({"Pump 7          ", QString(16, ' '), QString(16, ' '), QString(16, ' ')}));
}

TEST(InitLines, SetupAndLiveLinesAreCutToThirtyTwoDigits)
{
    TestSetup s = channels({1, 2, 3, 4}, 3);
    s.calInterval = 180;
    s.periodSeconds = 10;
    s.waitSeconds = 20;
    s.scans = 100;
    EXPECT_EQ(InitLines::setupDigits(s, "000000"), "000000B4000A00001400006404000000");
    EXPECT_EQ(InitLines::setupDigits(s, "000000").size(), 32);
    EXPECT_EQ(InitLines::liveLine(3, 4, "000000"), "0000A503000000000000000004000000");
    EXPECT_EQ(InitLines::liveLine(9, 4, "000000"), "0000A506000000000000000004000000");
    EXPECT_EQ(InitLines::periodLine(s), "000A000014000064");
}

TEST(InitLines, StartPointerIsSixHexDigitsOrEmpty)
{
    const std::pair<QString, std::optional<QString>> cases[] = {
        {"", "000000"}, {"  ", "000000"}, {"000000", "000000"}, {"00a0f0", "00A0F0"},
        {"123", std::nullopt}, {"1234567", std::nullopt}, {"00G000", std::nullopt},
    };
    for (const auto &[field, pointer] : cases)
        EXPECT_EQ(InitLines::startPointer(field), pointer) << field.toStdString();
}

TEST(InitLines, IdentityNeedsResolutionTwelveAndOneToEightChannels)
{
    QString problem;
    const InitLines::Identity id = InitLines::identity(goodIdentity(), &problem);
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(id.line0200, "T410-8MC00041002");
    EXPECT_EQ(id.line0210, "0762Z8230200008C");
    EXPECT_EQ(id.line0220, "ENG-Z8A SC-MC8  ");
    EXPECT_EQ(id.line0230, "E0041002S0041002");

    struct Case { std::function<void(FactoryFields &)> spoil; QString reason; };
    const Case cases[] = {
        {[](FactoryFields &f) { f.adResolution = 10; }, "A/D resolution is 10, must be 12"},
        {[](FactoryFields &f) { f.installedChannels = 0; }, "installed channels is 0, must be 1 to 8"},
        {[](FactoryFields &f) { f.installedChannels = 9; }, "installed channels is 9, must be 1 to 8"},
        {[](FactoryFields &f) { f.firmwareVersion.clear(); }, "firmware version \"\" is not 4 characters"},
        {[](FactoryFields &f) { f.memoryInstalledHex = "2000"; }, "memory installed \"2000\" is not 6 hexadecimal digits"},
    };
    for (const Case &c : cases) {
        FactoryFields f = goodIdentity();
        c.spoil(f);
        const InitLines::Identity refused = InitLines::identity(f, &problem);
        EXPECT_EQ(problem, c.reason);
        EXPECT_TRUE(refused.line0210.isEmpty());
    }
}

TEST(TripLevels, CountsAreRoundedAndHeldWithinTheConverterRange)
{
    struct Case { double limit; int count; };
    // One count = (3.00 - 0.116) / 4096 V at the converter.
    const Case cases[] = {{7.0, 1132}, {9.0, 1503}, {0.0, 0}, {0.5, 0}, {30.0, 4096}};
    for (const Case &c : cases)
        EXPECT_EQ(TripLevels::tripCount(c.limit, 0.116, 3.00), c.count) << c.limit;
}

TEST(TripLevels, LinesFromTheFactoryFields)
{
    FactoryFields f;
    f.batteryLimit = "7.0";
    f.rawSupplyLimit = "9.0";
    f.firstSettle = "100";
    f.secondSettle = "200";
    f.controllerId = "PIC18F8X";
    f.tcoreSlope = "0.25";
    f.tcoreOffset = "-40";
    QString problem;
    EXPECT_EQ(TripLevels::line0050(f, &problem), "046C05DF000064FF0000C800740BB8FF");
    EXPECT_TRUE(problem.isEmpty());
    EXPECT_EQ(TripLevels::line02D0(f), "PIC18F8X0.25-40 ");

    f.referenceLow = "3.1";
    EXPECT_TRUE(TripLevels::line0050(f, &problem).isEmpty());
    EXPECT_EQ(problem, "the high reference is not above the low reference");
    f.referenceLow = "1,5";
    EXPECT_TRUE(TripLevels::line0050(f, &problem).isEmpty());
    EXPECT_EQ(problem, "the reference voltages are not numbers");

    f.referenceLow.clear();
    for (const QString &settle : {"-1", "16777216", "fast"}) {
        f.secondSettle = settle;
        EXPECT_TRUE(TripLevels::line0050(f, &problem).isEmpty());
        EXPECT_EQ(problem, "a settle value is not a number from 0 to 16777215");
    }
    f.secondSettle = "16777215";
    EXPECT_EQ(TripLevels::line0050(f, &problem), "046C05DF000064FFFFFFFF00740BB8FF");
}

TEST(DefaultCalibration, LinesOfAnOddAndAnEvenChannel)
{
    EXPECT_EQ(DefaultCalibration::lines(1, true),
              QStringList({"141541..Unknown.", "PSI +1.00000E+00", "Ch 1+0.00000E+00",
                           "+5.00000E+03 mV ", "+0.00000E+00dum1", "+1.00000E+00dum2",
                           "38353.000000xxxx", "+0.00000E+00dum3", "+0.00000E+00dum4",
                           "-1.00000E+02dum5", "+1.00000E+02dum6", "+1.00000E+02dum7",
                           "+1.00000E+02dum8", "+4.00000E+03uAmp", "+0.00000E+00dumE",
                           "+4.09500E+03dumF"}));
    const QStringList even = DefaultCalibration::lines(2, false);
    EXPECT_EQ(even[1], "DegF+1.00000E+00");
    EXPECT_EQ(even[2], "Ch 2+0.00000E+00");
    EXPECT_EQ(even[3], "+4.00000E+03 uA ");
    EXPECT_EQ(even[9], "-5.00000E+01dum5");
    EXPECT_EQ(even[10], "+1.50000E+02dum6");
}
