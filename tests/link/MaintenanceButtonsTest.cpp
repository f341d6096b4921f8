#include "sim/LoggerPresets.h"
#include "tests/link/StatusByteBench.h"

#include <gtest/gtest.h>

namespace {

const QString StopTitle = QStringLiteral("Stop Logging message");
const QString WriteErrorTitle = QStringLiteral("subDisableLogging, /m/ write error");

LoggerImage presetTest(quint8 statusByte)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, VirtualEventLoop().now());
    image.statusByte = statusByte;
    return image;
}

// A bench whose serial-number confirmation answers as the operator would:
// Abort leaves commAbort set, Ignore goes on.
struct ButtonBench : StatusByteBench
{
    explicit ButtonBench(bool sameLogger = true, quint8 status = 0x90)
        : StatusByteBench(presetTest(status))
    {
        buttons.setHooks({
            .confirmSN = [this, sameLogger] {
                ++confirmations;
                state.commAbort = !sameLogger;
            },
            .refreshCurrentReading = [this] { ++refreshes; },
            .clearBuffers = [this] { clearBuffers(); },
        });
        statusByte.subSBRead(); // the main window shows what the logger said at connection
        wire();
    }

    int confirmations = 0;
    int refreshes = 0;
};

TEST(ForceStop, AsksThenSendsStopAndRereadsTheStatus)
{
    ButtonBench bench;
    bench.dialogs.expect(StopTitle, Dialogs::Ok);

    bench.buttons.cmdForceStop();

    ASSERT_EQ(bench.dialogs.shown().size(), 1u);
    const ScriptedDialogs::Box &box = bench.dialogs.shown()[0];
    EXPECT_EQ(box.text, QStringLiteral("LAST RESORT METHOD TO STOP LOGGING!\rALL DATA MAY BE LOST!\r\n"
                                       "Ok to stop logging. Cancel to continue."));
    EXPECT_EQ(box.buttons, Dialogs::OkCancel);
    EXPECT_EQ(box.icon, Dialogs::Information);
    EXPECT_EQ(bench.bufferClears, 1);
    EXPECT_EQ(bench.wire(), QByteArray("m|p|"));
    EXPECT_FALSE(bench.logger.isLogging());
    EXPECT_FALSE(bench.statusByte.loggingActive());
}

TEST(ForceStop, CancelSendsNothing)
{
    ButtonBench bench;
    bench.dialogs.expect(StopTitle, Dialogs::Cancel);

    bench.buttons.cmdForceStop();

    EXPECT_TRUE(bench.wire().isEmpty());
    EXPECT_TRUE(bench.logger.isLogging());
}

TEST(ForceStop, UnansweredStopIsReportedAndTheStatusStillRead)
{
    ButtonBench bench;
    bench.dialogs.expect(StopTitle, Dialogs::Ok);
    bench.dialogs.expect(WriteErrorTitle);
    bench.logger.faults().dropEchoes(CommandTransport::Attempts);

    bench.buttons.cmdForceStop();

    ASSERT_EQ(bench.dialogs.shown().size(), 2u);
    EXPECT_EQ(bench.dialogs.shown()[1].text,
              QStringLiteral("subDisableLogging /m/ command write error stop logging--error status "
                             "may be lost!"));
    EXPECT_EQ(bench.dialogs.shown()[1].icon, Dialogs::Critical);
    EXPECT_EQ(bench.wire(), QByteArray("mmmp|"));
    EXPECT_TRUE(bench.logger.isLogging());
    EXPECT_TRUE(bench.statusByte.loggingActive());
}

struct LoPowerCase
{
    bool sameLogger;
    bool logging;
    std::optional<int> answer; // the confirmation box, when it comes
    QByteArray wire;
};

class LoPowerStop : public testing::TestWithParam<LoPowerCase>
{
};

TEST_P(LoPowerStop, ConfirmsTheLoggerAndTheOperatorFirst)
{
    const LoPowerCase &c = GetParam();
    ButtonBench bench(c.sameLogger, c.logging ? 0x90 : 0x04);
    if (c.answer)
        bench.dialogs.expect(StopTitle, *c.answer);

    bench.buttons.cmdLoPower();

    EXPECT_EQ(bench.confirmations, 1);
    EXPECT_EQ(bench.dialogs.pendingExpectations(), 0);
    if (c.answer) {
        EXPECT_EQ(bench.dialogs.shown().back().text,
                  QStringLiteral("Please confirm that you want to stop the logger.\r"
                                 "Ok to stop logging. Cancel to continue."));
        EXPECT_EQ(bench.dialogs.shown().back().icon, Dialogs::Information);
    }
    EXPECT_EQ(bench.wire(), c.wire);
    const bool stopped = !c.wire.isEmpty();
    EXPECT_EQ(bench.refreshes, stopped ? 1 : 0);
    EXPECT_EQ(bench.logger.isLogging(), c.logging && !stopped);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LoPowerStop,
    testing::Values(LoPowerCase{true, true, Dialogs::Ok, "s|p|p|m|q#0487|"},
                    LoPowerCase{true, true, Dialogs::Cancel, ""},
                    LoPowerCase{false, true, std::nullopt, ""},
                    LoPowerCase{true, false, std::nullopt, ""}),
    [](const testing::TestParamInfo<LoPowerCase> &info) {
        const LoPowerCase &c = info.param;
        std::string name = c.sameLogger ? "SameLogger" : "OtherLogger";
        name += c.logging ? "Logging" : "Stopped";
        if (c.answer)
            name += *c.answer == Dialogs::Ok ? "Ok" : "Cancel";
        return name;
    });

struct ResetCase
{
    bool sameLogger;
    bool debugPrint;
    std::optional<int> answer;
    int beeps;
    QByteArray wire;
};

class ResetLogger : public testing::TestWithParam<ResetCase>
{
};

TEST_P(ResetLogger, StopsAndClearsTheStatusByteWhenTheOperatorSaysYes)
{
    const ResetCase &c = GetParam();
    ButtonBench bench(c.sameLogger);
    bench.switches.debugPrint = c.debugPrint;
    if (c.answer)
        bench.dialogs.expect(QStringLiteral("Stop for reset?"), *c.answer);
    if (c.answer == Dialogs::Yes)
        bench.dialogs.expect(QStringLiteral("ResetLogger"));

    bench.buttons.cmdResetLogger();

    EXPECT_EQ(bench.dialogs.pendingExpectations(), 0);
    EXPECT_EQ(bench.dialogs.beeps(), c.beeps);
    EXPECT_EQ(bench.wire(), c.wire);
    if (c.answer) {
        const ScriptedDialogs::Box &ask = bench.dialogs.shown()[0];
        EXPECT_EQ(ask.text, QStringLiteral("Do you really want to stop the logger to reset?"));
        EXPECT_EQ(ask.buttons, Dialogs::YesNo);
        EXPECT_EQ(ask.icon, Dialogs::Question);
        EXPECT_EQ(ask.defaultButton, Dialogs::DefaultButton2);
    }
    if (c.answer == Dialogs::Yes) {
        EXPECT_EQ(bench.dialogs.shown()[1].text,
                  QStringLiteral("Press reload logger button to update data and display."));
        EXPECT_EQ(bench.dialogs.shown()[1].icon, Dialogs::Information);
        EXPECT_EQ(bench.logger.statusByte(), 0x00);
        EXPECT_FALSE(bench.logger.isLogging());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ResetLogger,
    testing::Values(ResetCase{true, false, Dialogs::Yes, 1, "s|p|p|m|q#0487|q#0083|"},
                    ResetCase{true, true, Dialogs::No, 2, ""},
                    ResetCase{false, false, std::nullopt, 0, ""}),
    [](const testing::TestParamInfo<ResetCase> &info) {
        const ResetCase &c = info.param;
        std::string name = c.sameLogger ? "SameLogger" : "OtherLogger";
        if (c.debugPrint)
            name += "DebugPrint";
        if (c.answer)
            name += *c.answer == Dialogs::Yes ? "Yes" : "No";
        return name;
    });

TEST(BootloaderRestart, WritesARawGThatRestartsTheFirmware)
{
    ButtonBench bench;
    bench.statusByte.subLed2On();
    bench.wire();

    bench.buttons.cmdBootloadReStart();

    EXPECT_EQ(bench.wire(), QByteArray("G"));
    EXPECT_FALSE(bench.logger.ledOn(2));
    EXPECT_TRUE(bench.logger.isLogging());
}

TEST(Reload, ForgetsTheLoggerAndReopensThePort)
{
    ButtonBench bench;
    QStringList steps;
    bench.buttons.setHooks({
        .clearFactoryDisplay = [&] { steps << "clear factory page"; },
        .initialValues = [&] { steps << "initial values"; },
        .checkCommPort = [&] {
            EXPECT_FALSE(bench.state.loggerConnected);
            steps << "check port";
        },
    });
    QObject::connect(&bench.buttons, &MaintenanceButtons::bootloadRestartAvailable,
                     [&] { steps << "reset firmware available"; });
    QObject::connect(&bench.buttons, &MaintenanceButtons::mainTabSelected,
                     [&](int tab) { steps << QStringLiteral("tab %1").arg(tab); });

    bench.buttons.cmdLgrStatus();

    EXPECT_EQ(steps, (QStringList{"reset firmware available", "clear factory page",
                                  "initial values", "check port", "tab 2"}));
}

} // namespace
