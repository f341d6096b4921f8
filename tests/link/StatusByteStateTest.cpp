#include "link/StatusByteState.h"

#include <gtest/gtest.h>

namespace {

using Colour = IndicatorColour;

struct DecodeCase
{
    const char *text;
    qint64 currentScan;
    qint64 eventScan;
    const char *flagNames;
    const char *alert; // after the prior text "P -- "
    std::optional<Colour> alertBackground;
    const char *testStatus;
    Colour testStatusColour;
};

class StatusByteDecode : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(StatusByteDecode, FlagsAlertsAndTestStatus)
{
    const DecodeCase &c = GetParam();
    const StatusByteState s =
        StatusByteState::decode(QString::fromLatin1(c.text), QStringLiteral("P -- "),
                                c.currentScan, c.eventScan);
    EXPECT_EQ(s.flagNames, QString::fromLatin1(c.flagNames));
    EXPECT_EQ(s.alertShown, c.alertBackground.has_value());
    EXPECT_EQ(s.alertText, QStringLiteral("P -- ") + QString::fromLatin1(c.alert));
    EXPECT_EQ(s.alertBackground, c.alertBackground);
    EXPECT_EQ(s.testStatus, QString::fromLatin1(c.testStatus));
    EXPECT_EQ(s.testStatusColour, c.testStatusColour);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, StatusByteDecode,
    testing::Values(
        DecodeCase{"90", 0, 0, "_LogEN_DumpEN", "", std::nullopt, "Logging Enabled", Colour::Green},
        DecodeCase{"50", 0, 0, "_LogEN_LogDone", "", std::nullopt, "Test Done", Colour::Yellow},
        DecodeCase{"00", 0, 0, "", "", std::nullopt, "Logging Disabled", Colour::Orange},
        // A stop issued by the PC: the current scan is not past the event.
        DecodeCase{"04", 16, 16, "_Stop/Pause", "Test Stopped/Paused -- ", Colour::Yellow,
                   "Logging Disabled", Colour::Orange},
        DecodeCase{"14", 17, 16, "_TimeErr_LogEN", "TimeBase Error -- ", Colour::Yellow,
                   "Logging Enabled", Colour::Green},
        // A supply alarm keeps the label red whatever bit 2 says after it.
        DecodeCase{"07", 0, 0, "_VrawLO_VBatLO_Stop/Pause",
                   "Power(Vraw)-LO -- Low-Battery -- Test Stopped/Paused -- ", Colour::Red,
                   "Logging Disabled", Colour::Orange},
        DecodeCase{"6A", 0, 0, "_VBatLO_EEInvalid_MemFull_LogDone", "Low-Battery -- ",
                   Colour::Red, "Test Done", Colour::Yellow}),
    [](const testing::TestParamInfo<DecodeCase> &info) {
        return std::string("Status") + info.param.text;
    });

TEST(StatusByteDecode, EveryBitHasItsFlagAndLabel)
{
    const StatusByteState all = StatusByteState::decode(QStringLiteral("FF"), QString(), 0, 0);
    EXPECT_EQ(all.value, 0xFF);
    EXPECT_TRUE(all.supplyLow && all.batteryLow && all.stopOrTimeBase && all.eepromInvalid
                && all.loggingActive && all.memoryFull && all.loggingDone && all.dumpOn);
    const Colour lit[8] = {Colour::Red,    Colour::Red,    Colour::Orange, Colour::Red,
                           Colour::Orange, Colour::Yellow, Colour::Orange, Colour::Orange};
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(all.labels[size_t(bit)].colour, lit[bit]) << "bit " << bit;
    EXPECT_EQ(all.labels[4].caption, QStringLiteral("Logging ON"));
    EXPECT_EQ(all.labels[7].caption, QStringLiteral("Dump ON"));

    const StatusByteState none = StatusByteState::decode(QStringLiteral("00"), QString(), 0, 0);
    EXPECT_FALSE(none.supplyLow || none.batteryLow || none.stopOrTimeBase || none.eepromInvalid
                 || none.loggingActive || none.memoryFull || none.loggingDone || none.dumpOn);
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(none.labels[size_t(bit)].colour, Colour::DarkGreen) << "bit " << bit;
    EXPECT_EQ(none.labels[4].caption, QStringLiteral("Logging OFF"));
    EXPECT_EQ(none.labels[7].caption, QStringLiteral("Dump OFF"));
    EXPECT_TRUE(none.labels[0].caption.isEmpty());
}

} // namespace
