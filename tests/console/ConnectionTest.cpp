#include "tests/console/LoggerWindowFixture.h"

#include "console/LoggerStatusView.h"
#include "console/MainTab.h"
#include "console/frmComm.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"
#include "ui_frmComm.h"

// The main window with the simulated logger's finished test on its port:
// the bench a technician sees, from Log On to the logger's figures.
class Connection : public LoggerWindowFixture
{
protected:
    Connection()
        : LoggerWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
        openWindow();
    }

    void logOn() { LoggerWindowFixture::logOn(1); }
    QString loggerStatus() { return window->ui().lblLgrStatus->text(); }
    QByteArray headerText(int address) { return logger.image().header.mid(address, 16); }

    // Once the PC has written `text`, action runs from the loop: in the
    // middle of whatever sequence wrote it, as an operator's action would.
    void whenWritten(const QString &text, std::function<void()> action)
    {
        port.setWriteObserver([this, text, action] {
            if (!port.writtenText().contains(text))
                return;
            loop.post(action);
            port.setWriteObserver({}); // destroys this very function: last
        });
    }
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
    // The bootloader restart, the first header lines, the status byte and
    // dump off come first; the event capture and the header read follow.
    const QString wire = port.writtenText();
    EXPECT_TRUE(wire.startsWith("Ga0000|a0010|a0020|p|s|")) << wire.left(60).toStdString();
    EXPECT_TRUE(wire.contains("|c0200|")) << "the header is read";
    // The finished test's status bit lamp, in the status byte's orange.
    EXPECT_EQ(window->comm().ui().lblSB6->palette().color(QPalette::Window), QColor(192, 64, 0));

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
    port.forget();
    logger.holdCtsBusy(3'200'000'000LL); // back before the 0.35 s second look
    settle();
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_TRUE(connection.trace.text().contains("False Disconnect Error"));
    EXPECT_EQ(loggerStatus(), "Logger Connected");
    EXPECT_FALSE(port.writtenText().contains("a0000")) << "no new connection";
    EXPECT_FALSE(port.writtenText().contains("c0200")) << "the header is not read again";
    EXPECT_EQ(connection.header.serialNumber, serial);
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
    connection.header.headerValid = false;
    port.forget();
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
    EXPECT_TRUE(port.writtenText().startsWith("Ga0000|a0010|a0020|p|s|"))
        << port.writtenText().left(60).toStdString();
    EXPECT_TRUE(connection.header.headerValid) << "the new connection ends with the header read";
    EXPECT_EQ(dialogs.shown().size(), 1u) << dialogs.titles().join(", ").toStdString();
    EXPECT_EQ(loggerStatus(), "Logger Connected");
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


// Another logger comes in while the first one's header is being read: the
// lost logger is seen during the read, and the older read commits nothing
// over the newer logger.
TEST_F(Connection, UnplugAndReplugDuringTheHeaderReadIsSeen)
{
    bool stillReading = false;
    whenWritten("|c0400|", [&] {
        logger.unplug();
        stillReading = connection.link.sequences().isRunning();
        // Seen during the read: the disconnection check runs in its waits.
        loop.scheduleAfter(5'000'000'000LL, [&] {
            EXPECT_FALSE(state().loggerConnected) << "the pulled logger is seen during the read";
            EXPECT_EQ(loggerStatus(), "Logger Not Detected");
            logger.loadImage(LoggerPresets::build(LoggerPreset::Logging, loop.now()));
            logger.plugIn();
        });
    });
    logOn();
    settle(40);
    EXPECT_TRUE(stillReading);
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_EQ(loggerStatus(), "Logger Connected");
    ASSERT_TRUE(connection.header.headerValid);
    EXPECT_EQ(connection.header.serialNumber.trimmed(), "00041003");
    EXPECT_EQ(window->statusView().ui().LblRdSerialNum->text().trimmed(), "00041003");
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.titles().join(", ").toStdString();
}

// A logger plugged in whose first read fails: its box waits for the operator,
// and pulling the logger out meanwhile is seen while the box is open.
TEST_F(Connection, UnplugWhileTheNewConnectionBoxIsOpenIsSeen)
{
    QString statusWhileOpen;
    bool connectedWhileOpen = true;
    dialogs.whileOpen = [&](const QString &title) {
        EXPECT_EQ(title, "NEW Connection Problem in subCheckCTS");
        EXPECT_EQ(loggerStatus(), "BAD CONNECTION--Restart (from subcheckCTS)");
        logger.unplug();
        loop.advanceSeconds(5);
        statusWhileOpen = loggerStatus();
        connectedWhileOpen = state().loggerConnected;
    };
    logger.unplug();
    logOn();
    settle();
    // Plugged in: the line change starts the new connection.
    logger.faults().dropEchoes(3);
    dialogs.expect("NEW Connection Problem in subCheckCTS", Dialogs::Cancel);
    logger.plugIn();
    settle();
    ASSERT_EQ(dialogs.shown().size(), 1u) << dialogs.titles().join(", ").toStdString();
    EXPECT_EQ(dialogs.shown()[0].text, "Problem Reading NEW Connection...\r\n"
                                       "Retry Read, or Cancel, then disconnect the logger and try again.");
    EXPECT_EQ(dialogs.shown()[0].buttons, int(Dialogs::RetryCancel));
    EXPECT_EQ(statusWhileOpen, "Logger Not Detected");
    EXPECT_FALSE(connectedWhileOpen);

    port.forget();
    logger.plugIn();
    settle(40);
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_TRUE(connection.header.headerValid);
    EXPECT_TRUE(port.writtenText().startsWith("Ga0000|a0010|a0020|p|s|"));
}

// A USB adapter pulled out is no logger and no line error: the displays go
// blank, nothing asks the operator, and the link takes the adapter back.
TEST_F(Connection, PulledAdapterIsALostLoggerUntilItIsBack)
{
    logOn();
    ASSERT_TRUE(state().loggerConnected);
    simPort.setAdapterPresent(false); // the logger comes out with it
    logger.unplug();
    settle();
    EXPECT_FALSE(state().loggerConnected);
    EXPECT_EQ(loggerStatus(), "Logger Not Detected");
    EXPECT_EQ(window->ui().LblMessage3->text(), "Logger Disconnected -- Waiting for a Logger");
    EXPECT_FALSE(connection.link.fnCTS()) << "a closed port is no logger at the ready level";
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.titles().join(", ").toStdString();

    simPort.setAdapterPresent(true);
    logger.plugIn();
    settle(40);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(state().loggerConnected);
    EXPECT_TRUE(connection.header.headerValid);
}

// Exit in the middle of the header read: the read stops at once, nothing
// more goes to the logger and the port is closed.
TEST_F(Connection, ExitDuringTheHeaderReadStopsTalkingToTheLogger)
{
    QByteArray writtenAtExit;
    whenWritten("|c0400|", [&] {
        ASSERT_TRUE(connection.link.sequences().isRunning());
        window->ui().CmdExit->click();
        EXPECT_FALSE(port.isOpen());
        EXPECT_TRUE(state().commAbort);
        writtenAtExit = port.written();
    });
    logOn();
    loop.advanceSeconds(60);
    ASSERT_FALSE(writtenAtExit.isEmpty());
    EXPECT_EQ(port.written(), writtenAtExit) << "nothing more goes to the logger";
    EXPECT_FALSE(connection.link.sequences().isRunning());
    EXPECT_FALSE(connection.header.headerValid);
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.titles().join(", ").toStdString();
}

// A stored rate the logger does not speak reaches the port as 9600.
TEST_F(Connection, StoredBaudOfFourThousandEightHundredOrJunkOpensAt9600)
{
    window->ui().ChkAutoBaud->setChecked(false);
    for (const char *stored : {"4800,N,8,1", "rubbish", "9600,N,8,1"}) {
        StartupSettings(settings).save("Logger_Baud", stored);
        logOn();
        settle(30);
        EXPECT_EQ(port.settings(), "9600,N,8,1") << stored;
        EXPECT_TRUE(state().loggerConnected) << stored;
        EXPECT_TRUE(connection.header.headerValid) << stored;
        logger.unplug();
        settle();
        logger.plugIn();
        window->ui().SSTab1->setCurrentIndex(int(MainTab::LogOn));
    }
}

// Back to 9600 with a logger: "u", then the proof text written at the new rate.
TEST_F(Connection, SwitchingBackTo9600ProvesTheRateWithItsText)
{
    logOn();
    ASSERT_EQ(port.settings(), "115200,N,8,1");
    port.forget();
    window->comm().ui().OptBaud9600->click();
    loop.advanceSeconds(2);
    EXPECT_EQ(port.settings(), "9600,N,8,1");
    EXPECT_EQ(logger.baud(), 9600);
    EXPECT_TRUE(port.writtenText().startsWith("u|d02F0#9600Baud90123456"))
        << port.writtenText().toStdString();
    EXPECT_EQ(headerText(0x02F0), QByteArray("9600Baud90123456"));
    EXPECT_EQ(window->ui().lblComStatus->text(), "Com 1-9.6");
}

// A CD change is reported as a port error with its box; the handshake lines
// are still watched while that box waits for the operator.
TEST_F(Connection, LoggerPulledWhileAPortErrorBoxIsOpenIsSeen)
{
    logOn();
    ASSERT_TRUE(state().loggerConnected);
    QString statusWhileOpen;
    dialogs.whileOpen = [&](const QString &) {
        logger.unplug();
        loop.advanceSeconds(5);
        statusWhileOpen = loggerStatus();
    };
    dialogs.expect("OnComm Event Error Trap");
    logger.setCarrierDetect(true);
    settle();
    EXPECT_EQ(dialogs.titles(), QStringList{"OnComm Event Error Trap"});
    EXPECT_TRUE(dialogs.shown()[0].text.contains("The system has encountered a Change in CD Detected - Green"));
    EXPECT_EQ(statusWhileOpen, "Logger Not Detected");
}
