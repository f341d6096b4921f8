#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/FakePort.h"
#include "tests/support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A device with bytes already waiting in its receive buffer, and one whose
// driver cannot set DTR and says so with an error of its own, synchronously,
// as QSerialPort's error signal does.
class BufferedPort : public FakePort
{
public:
    QByteArray inbox;
    bool dtrFails = false;
    int dtrRequests = 0;

    int bytesWaiting() const override { return int(inbox.size()); }
    int takeByte() override
    {
        if (inbox.isEmpty())
            return -1;
        const int byte = quint8(inbox.front());
        inbox.remove(0, 1);
        return byte;
    }
    void setDtr(bool on) override
    {
        ++dtrRequests;
        if (dtrFails && dtrRequests < 1000)
            raise(Event::Unknown);
        FakePort::setDtr(on);
    }
    void deliver(const QByteArray &bytes)
    {
        inbox += bytes;
        raise(Event::Receive);
    }
    void lineEvent(Event event) { raise(event); }
};

// The link on such a port, without windows, a logger taken as connected.
class SerialLinkTest : public testing::Test
{
protected:
    SerialLinkTest()
        : settings(dir.filePath("settings.ini"))
        , connection(port, loop, settings, dialogs)
    {
        port.open();
        connection.state.loggerConnected = true;
    }

    QTemporaryDir dir;
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    SettingsStore settings;
    BufferedPort port;
    LoggerConnection connection;
};

} // namespace

TEST_F(SerialLinkTest, ReceiveOverflowDiscardsWhatIsWaiting)
{
    connection.state.loggerConnected = false; // no box, only the status line
    port.inbox = "a0000#stale";
    port.lineEvent(Port::Event::ReceiveOverflow);
    EXPECT_EQ(port.bytesWaiting(), 0);
    loop.advanceSeconds(0.1);
    EXPECT_EQ(connection.status.text(), "Rxd Buffer Overflow");
    port.deliver("p#0083\r");
    EXPECT_EQ(connection.state.stLastLine, "p#0083") << "nothing stale before the next reply";
}

TEST_F(SerialLinkTest, MsbFixTakesTheHighBitOffWhenTicked)
{
    const QByteArray highBits("\xF0\xA3\x8D"); // "p#" and CR with bit 7 set
    connection.switches.msbFix = true;
    port.deliver(highBits);
    EXPECT_EQ(connection.state.stLastLine, "p#");
    EXPECT_TRUE(connection.state.lineReady);

    connection.switches.msbFix = false;
    connection.state.lineReady = false;
    port.deliver(highBits);
    EXPECT_FALSE(connection.state.lineReady) << "an unfixed CR is no line end";
}

TEST_F(SerialLinkTest, ReceivedLinesAreTracedWithTheirCarriageReturn)
{
    connection.switches.monitor = true;
    port.deliver("p#0083\r");
    EXPECT_TRUE(connection.trace.text().contains("p#0083[cr]"))
        << connection.trace.text().toStdString();
}

// The error handling re-asserts DTR; a device that reports that as a new
// error must not start the handling over (once it recursed until the stack
// gave out).
TEST_F(SerialLinkTest, PortErrorWhoseDtrReassertFailsIsHandledOnce)
{
    port.dtrFails = true;
    dialogs.allow("OnComm Event Error Trap");
    port.lineEvent(Port::Event::Framing);
    loop.advanceSeconds(1);
    EXPECT_EQ(dialogs.titles(), QStringList{"OnComm Event Error Trap"});
    EXPECT_LT(port.dtrRequests, 5);
    EXPECT_EQ(connection.status.text(), "Framing Error");
}

// A "?" while no logger is recognised is the bootloader talking: the box
// comes once the receive handler has returned, never inside it.
TEST_F(SerialLinkTest, BootloaderBoxWaitsUntilTheReceiveHandlerHasReturned)
{
    connection.state.loggerConnected = false;
    dialogs.allow("Boot or unrecognized CTS change.");
    port.deliver("?");
    EXPECT_TRUE(dialogs.shown().empty()) << "no box inside the port's receive handler";
    EXPECT_EQ(connection.status.text(), "stbuffer=>?< ? in in buffer....bootloader active");
    loop.advanceSeconds(0.01);
    EXPECT_EQ(dialogs.titles(), QStringList{"Boot or unrecognized CTS change."});
    EXPECT_TRUE(connection.state.stRxLine.isEmpty()) << "the prompt is dropped";
}

TEST_F(SerialLinkTest, ClosingThePortLosesTheLogger)
{
    int lost = 0;
    QObject::connect(&connection.link, &SerialLink::loggerLost, [&] { ++lost; });
    QString status;
    QObject::connect(&connection.link, &SerialLink::loggerIndicator,
                     [&](const QString &text, IndicatorColour) { status = text; });
    connection.link.subToggleComm();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(connection.state.loggerConnected);
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(status, "Logger Not Detected");
    EXPECT_FALSE(connection.link.fnCTS());
}
