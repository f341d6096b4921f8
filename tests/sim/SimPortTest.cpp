#include "tests/sim/SimWire.h"

#include "platform/qt/QtEventLoop.h"

#include <gtest/gtest.h>

namespace {
const QByteArray statusReply = "p#0083\r";
}

TEST(SimPort, BytesTakeTenBitTimesEachWayPlusTheLoggersLatency)
{
    SimWire wire;
    wire.port.setReplyLatencyNs(5000000);
    const qint64 charNs = 10 * 1000000000LL / 9600;
    wire.port.write("p");
    wire.loop.advance(2 * charNs + 5000000 - 1);
    EXPECT_EQ(wire.takeReceived(), "");
    wire.loop.advance(1);
    EXPECT_EQ(wire.takeReceived(), "p");
}

TEST(SimPort, BaudSwitchFollowsTheNextMessage)
{
    SimWire wire;
    EXPECT_EQ(wire.exchange('u'), "u\r");
    EXPECT_TRUE(wire.logger.followsNextRate());
    wire.port.applySettings("115200,N,8,1");
    EXPECT_EQ(wire.exchange('p'), statusReply);
    EXPECT_EQ(wire.logger.baud(), 115200);
}

TEST(SimPort, BytesAtARateOrFormatTheOtherSideDoesNotUseArriveGarbled)
{
    const char *settings[] = {"115200,N,8,1", "9600,E,7,1"};
    for (const char *pcSide : settings) {
        SimWire wire;
        ASSERT_TRUE(wire.port.applySettings(pcSide));
        EXPECT_EQ(wire.exchange('p'), "") << pcSide; // the logger hears no command
        EXPECT_EQ(wire.logger.image().statusByte, 0);
    }
    // The logger answers at 115200 to a PC that went back to 9600.
    SimWire wire;
    wire.exchange('u');
    wire.port.applySettings("115200,N,8,1");
    wire.port.write("p"); // on its way at 115200
    wire.port.applySettings("9600,N,8,1");
    wire.wait(0.1);
    const QByteArray received = wire.takeReceived();
    ASSERT_EQ(received.size(), 1);
    EXPECT_NE(received, "p");
}

TEST(SimPort, SettingsOpenCloseAndDiscard)
{
    SimWire wire;
    EXPECT_FALSE(wire.port.applySettings("fast"));
    EXPECT_EQ(wire.port.settings(), "9600,N,8,1");

    wire.port.close();
    wire.port.write("p");
    wire.logger.raiseLineError(Port::Event::Framing);
    wire.wait(0.1);
    EXPECT_TRUE(wire.events.isEmpty());
    EXPECT_TRUE(wire.port.open());
    EXPECT_EQ(wire.exchange('p'), statusReply);

    // Bytes still in the output queue are dropped; the one on the line goes on.
    wire.port.write("h#2\r");
    wire.port.discardOutput();
    wire.wait(0.1);
    EXPECT_EQ(wire.takeReceived(), "h");
    EXPECT_FALSE(wire.logger.ledOn(2));
}

TEST(SimPort, RealTimeLoopDeliversEveryDueByte)
{
    QtEventLoop loop;
    LoggerSimulator logger(loop, SimWire::minimalImage());
    SimPort port(loop, logger);
    port.open();
    port.applySettings("9600,N,8,1");
    QByteArray received;
    port.setEventHandler([&](Port::Event) {
        while (port.bytesWaiting() > 0)
            received.append(char(port.takeByte()));
    });
    const auto exchange = [&](const QByteArray &command) {
        received.clear();
        port.write(command);
        const qint64 deadline = loop.elapsedNs() + 2000000000LL;
        while (!received.endsWith('\r') && loop.elapsedNs() < deadline)
            loop.yield();
        return received;
    };
    EXPECT_EQ(exchange("u\r"), "u\r");
    port.applySettings("115200,N,8,1");
    const QByteArray line = exchange("a0200\r");
    EXPECT_EQ(line.size(), 41);
    EXPECT_TRUE(line.startsWith("a0200#"));
}

// As QSerialPort: bytes that arrive while the receive handler is still
// running are taken in but not announced, then or later, until more bytes
// arrive after it has returned.
TEST(SimPort, NoSecondReceiveEventWhileTheReceiveHandlerRuns)
{
    VirtualEventLoop loop;
    LoggerSimulator logger(loop, SimWire::minimalImage());
    SimPort port(loop, logger);
    port.open();
    port.applySettings("9600,N,8,1");
    int events = 0;
    int depth = 0;
    int maxDepth = 0;
    port.setEventHandler([&](Port::Event event) {
        if (event != Port::Event::Receive)
            return;
        ++events;
        maxDepth = std::max(maxDepth, ++depth);
        if (events == 1) {
            port.write("\r"); // the reply arrives while this handler waits
            loop.advanceSeconds(0.5);
            EXPECT_GT(port.bytesWaiting(), 1) << "bytes are still taken in";
        }
        --depth;
    });
    port.write("p");
    loop.advanceSeconds(0.01); // the echo: the first event
    ASSERT_EQ(events, 1);
    loop.advanceSeconds(1);
    EXPECT_EQ(events, 1) << "what came during the handler is not announced afterwards";
    EXPECT_EQ(maxDepth, 1);

    port.write("p"); // the next echo: a new arrival is announced again
    loop.advanceSeconds(0.5);
    EXPECT_EQ(events, 2);
}

// Line changes reach the port's owner through a watch that is not run again
// inside its own handler; a change made meanwhile arrives once it returns.
TEST(SimPort, LineChangeDuringTheLineHandlerArrivesAfterIt)
{
    VirtualEventLoop loop;
    LoggerSimulator logger(loop, SimWire::minimalImage());
    SimPort port(loop, logger);
    port.open();
    QList<Port::Event> seen;
    bool inside = false;
    port.setEventHandler([&](Port::Event event) {
        EXPECT_FALSE(inside) << "line handler entered twice";
        inside = true;
        seen.append(event);
        if (seen.size() == 1) {
            logger.setCarrierDetect(true);
            loop.advanceSeconds(1);
            EXPECT_EQ(seen.size(), 1);
        }
        inside = false;
    });
    logger.unplug();
    loop.advanceSeconds(2);
    EXPECT_EQ(seen, (QList<Port::Event>{Port::Event::CtsChange, Port::Event::CdChange}));
}

TEST(SimPort, PulledAdapterClosesThePortUntilItIsBack)
{
    SimWire wire;
    wire.port.setAdapterPresent(false);
    EXPECT_FALSE(wire.port.isOpen());
    EXPECT_EQ(wire.events, QList<Port::Event>{Port::Event::DeviceLost});
    EXPECT_FALSE(wire.port.open());
    wire.port.setAdapterPresent(true);
    EXPECT_TRUE(wire.port.open());
    EXPECT_EQ(wire.exchange('p'), "p#0083\r");
}

TEST(SimPort, WireTapSeesBothDirectionsAsTheBytesArePutOnTheCable)
{
    SimWire wire;
    QByteArray fromPc;
    QByteArray fromLogger;
    wire.port.setWireTap([&](bool logger, const QByteArray &bytes) { (logger ? fromLogger : fromPc) += bytes; });
    EXPECT_EQ(wire.exchange('p'), statusReply);
    wire.logger.faults().noiseAfterBytes(2, "~");
    EXPECT_EQ(wire.exchange('p'), "p#~0083\r");
    EXPECT_EQ(fromPc, "p\rp\r");
    EXPECT_EQ(fromLogger, statusReply + "p#~0083\r");
}
