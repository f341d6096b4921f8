#include "console/FrmStartup.h"
#include "logger/LoggerConnection.h"
#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/frmComm.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "sim/LoggerPresets.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TapPort.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"
#include "ui_frmComm.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The main window with the simulated logger on its port, under virtual time:
// the bench a technician sees, from Log On to the logger's figures.
class Connection : public ::testing::Test
{
protected:
    Connection()
        : settings(dir.filePath("settings.ini"))
        , logger(loop, LoggerPresets::build(LoggerPreset::Finished, loop.now()))
        , simPort(loop, logger)
        , port(simPort, [this] { return loop.elapsedNs(); })
        , connection(port, loop, settings, dialogs)
    {
        StartupSettings startup(settings);
        QDir().mkpath(dir.filePath("data"));
        startup.save("DefaultPath", dir.filePath("data"));
        startup.save("CommPortNum", "1");
        window = std::make_unique<FrmStartup>(loop, dialogs, settings, connection,
                                              FrmStartup::Options{dir.filePath("data"), true});
        window->Form_Load();
    }

    void logOn()
    {
        window->ui().CmdLogOn->click();
        loop.advanceSeconds(1);
    }
    // Runs the bench until the check interval of the connection watch has passed.
    void settle(double seconds = 5) { loop.advanceSeconds(seconds); }

    LinkState &state() { return connection.state; }
    QString loggerStatus() { return window->ui().lblLgrStatus->text(); }
    QByteArray headerText(int address) { return logger.image().header.mid(address, 16); }

    QTemporaryDir dir;
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    SettingsStore settings;
    LoggerSimulator logger;
    SimPort simPort;
    TapPort port;
    LoggerConnection connection;
    std::unique_ptr<FrmStartup> window;
};

TEST_F(Connection, LogOnFindsTheLoggerReadsItAndShowsIt)
{
    logOn();

    EXPECT_TRUE(state().loggerConnected);
    EXPECT_EQ(loggerStatus(), "Logger Connected");
    EXPECT_TRUE(connection.header.headerValid);
    const Ui::LoggerStatusView &view = window->statusView().ui();
    EXPECT_EQ(view.LblRdSerialNum->text().trimmed(), connection.header.serialNumber.trimmed());
    EXPECT_FALSE(view.LblRdSerialNum->text().trimmed().isEmpty());
    EXPECT_FALSE(view.LblRdMemInst->text().isEmpty());
    EXPECT_EQ(logger.statusByte() & 0x80, 0x80) << "the status view leaves dump output on";

    // A current-series logger with auto-baud ticked runs at 115200, proved by
    // the text write the switch makes.
    EXPECT_TRUE(state().portSettings.startsWith("115200"));
    EXPECT_EQ(port.settings(), "115200,N,8,1");
    EXPECT_EQ(logger.baud(), 115200);
    EXPECT_EQ(headerText(0x02F0), QByteArray("115.2KBaud123456"));
    EXPECT_EQ(window->comm().ui().OptBaud115K->isChecked(), true);
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.titles().join(", ").toStdString();
}

TEST_F(Connection, UnpluggingIsALostLoggerAndPluggingInReadsItAfresh)
{
    logOn();
    ASSERT_TRUE(state().loggerConnected);

    logger.unplug();
    loop.advanceSeconds(2.9);
    EXPECT_TRUE(state().loggerConnected) << "not judged before the 3 s check";
    settle();
    EXPECT_FALSE(state().loggerConnected);
    EXPECT_EQ(loggerStatus(), "Logger Not Detected");
    EXPECT_EQ(window->ui().LblMessage3->text(), "Logger Disconnected -- Waiting for a Logger");
    EXPECT_EQ(port.settings(), "9600,N,8,1") << "each connection starts at 9600";

    logger.plugIn();
    settle(30);
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_TRUE(connection.header.headerValid);
    EXPECT_EQ(port.settings(), "115200,N,8,1");
}

TEST_F(Connection, ShortBusySpellIsAFalseDisconnect)
{
    window->comm().ui().chkDebugprintRxdTxd->setChecked(true);
    logOn();
    const QString serial = connection.header.serialNumber;
    logger.holdCtsBusy(3'200'000'000LL); // back before the 0.35 s second look
    settle();
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_TRUE(connection.trace.text().contains("False Disconnect Error"));
    EXPECT_EQ(loggerStatus(), "Logger Connected");
}

TEST_F(Connection, FlickeringCtsIsNotJudgedUntilItSettles)
{
    logger.unplug();
    logOn();
    settle();
    ASSERT_FALSE(state().loggerConnected);
    logger.plugIn();
    logger.flickerCts(3, 5000);
    settle(30);
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_TRUE(connection.header.headerValid);
}

TEST_F(Connection, HighSpeedIsRefusedWithoutALogger)
{
    logger.unplug();
    logOn();
    settle();
    dialogs.expect("Baud Rate change Error Detected in subBaud 115 KB");
    window->comm().ui().OptBaud115K->click();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Cannot change to 115KBaud--no logger connected.");
    EXPECT_EQ(port.settings(), "9600,N,8,1");
    EXPECT_TRUE(window->comm().ui().OptBaud9600->isChecked());
}

TEST_F(Connection, ReceiveOverflowLeavesNoStaleBytes)
{
    logger.unplug();
    logOn();
    settle();
    connection.transport.sendCommand("r"); // nobody answers: bytes may still be waiting
    logger.raiseLineError(Port::Event::ReceiveOverflow);
    loop.advanceSeconds(0.1);
    EXPECT_EQ(port.bytesWaiting(), 0);
    EXPECT_TRUE(window->comm().ui().lblCommStatus->text().contains("Rxd Buffer Overflow"));
}

TEST_F(Connection, LineErrorWhileConnectedWarnsAndCancelsTheDownload)
{
    logOn();
    ASSERT_TRUE(state().loggerConnected);
    dialogs.expect("OnComm Event Error Trap");
    logger.raiseLineError(Port::Event::Framing);
    loop.advanceSeconds(0.1);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    const QString text = dialogs.shown()[0].text;
    EXPECT_TRUE(text.startsWith("WARNING !  Communications Hardware Error!\r\n\r\n"
                                "The system has encountered a Framing Error\r\n\r\n"));
    EXPECT_TRUE(text.endsWith("\r\n\r\nPlease contact KORVAN, Inc. for diagnosis & repair."));
    EXPECT_TRUE(state().cancelDownload);
    EXPECT_TRUE(window->comm().ui().lblCommStatus->text().contains("Framing Error"));
}

TEST_F(Connection, BootloaderPromptFromAnUnrecognisedLoggerIsReported)
{
    window->ui().ChkAutoBaud->setChecked(false); // a restarted logger talks at 9600
    logOn();
    // A logger restarting on its battery while the link does not count it as
    // connected: its bootloader's "?" is the first thing on the line.
    state().loggerConnected = false;
    logger.faults().promptAtPowerUp(true);
    QStringList statusTexts;
    QObject::connect(&connection.status, &CommStatusLine::textChanged,
                     [&](const QString &text) { statusTexts << text; });
    dialogs.expect("Boot or unrecognized CTS change.");
    logger.powerUp();
    settle(30);
    ASSERT_FALSE(dialogs.shown().empty());
    EXPECT_EQ(dialogs.shown()[0].text,
              "Logger was connected PRIOR to power up, or\r\n"
              "connection change was not recognized.\r\n"
              "Check if the battery is installed, and good.\r\n"
              "Click [OK]to continue.\r\n");
    EXPECT_TRUE(statusTexts.contains("stbuffer=>?< ? in in buffer....bootloader active"));
    EXPECT_TRUE(state().loggerConnected) << "the reset reads the logger again";
}

TEST_F(Connection, BypassingTheHeaderReadShowsTheLoggerTabUnread)
{
    window->ui().ChkAutoDnldBypass->setChecked(true);
    logOn();
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_FALSE(connection.header.headerValid);
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::DataLogger));
    EXPECT_EQ(port.settings(), "9600,N,8,1") << "no header read, no high speed";
}

TEST_F(Connection, ZZWire)
{
    logOn();
    std::printf("%s\n", qPrintable(port.writtenText()));
}
