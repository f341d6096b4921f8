#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const QByteArray statusReply = "p#0083\r";

QByteArray readIdentity(SimWire &wire)
{
    return wire.exchange('a', "0200").chopped(1);
}
} // namespace

TEST(SimFaults, LineFaultsShowOnTheNextLineOnly)
{
    struct Case
    {
        const char *name;
        std::function<void(SimFaults &)> on;
        std::function<void(const QByteArray &good, const QByteArray &bad)> check;
    };
    const Case cases[] = {
        {"wrong checksum", [](SimFaults &f) { f.wrongChecksums(1); },
         [](const QByteArray &good, const QByteArray &bad) {
             EXPECT_EQ(bad.chopped(2), good.chopped(2));
             EXPECT_FALSE(SimWire::checksumOk(bad));
         }},
        {"lower case", [](SimFaults &f) { f.lowerCaseChecksums(1); },
         [](const QByteArray &good, const QByteArray &bad) {
             EXPECT_EQ(bad.right(2), "7a");
             EXPECT_EQ(bad.chopped(2), good.chopped(2));
         }},
        {"short", [](SimFaults &f) { f.shortLines(1); },
         [](const QByteArray &good, const QByteArray &bad) {
             EXPECT_EQ(bad.size(), good.size() - 1);
             EXPECT_TRUE(SimWire::checksumOk(bad));
         }},
        {"long", [](SimFaults &f) { f.longLines(1); },
         [](const QByteArray &good, const QByteArray &bad) {
             EXPECT_EQ(bad.size(), good.size() + 1);
             EXPECT_TRUE(SimWire::checksumOk(bad));
         }},
        {"other address", [](SimFaults &f) { f.otherAddresses(1); },
         [](const QByteArray &good, const QByteArray &bad) {
             EXPECT_EQ(bad.mid(1, 4), "0210");
             EXPECT_EQ(bad.mid(5, 33), good.mid(5, 33));
             EXPECT_TRUE(SimWire::checksumOk(bad));
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SimWire wire;
        const QByteArray good = readIdentity(wire);
        ASSERT_EQ(good.size(), 40);
        ASSERT_EQ(good.right(2), "7A");
        c.on(wire.logger.faults());
        EXPECT_EQ(wire.exchange('h', "#2"), "h\r"); // a bare answer leaves the fault waiting
        c.check(good, readIdentity(wire));
        EXPECT_EQ(readIdentity(wire), good);
    }
}

TEST(SimFaults, DroppedEchoesSwallowTheWholeCommand)
{
    SimWire wire;
    wire.logger.faults().dropEchoes(2);
    EXPECT_EQ(wire.exchange('p'), "");
    EXPECT_EQ(wire.exchange('p'), "");
    EXPECT_EQ(wire.exchange('p'), statusReply);

    wire.logger.faults().dropEchoes(SimFaults::Forever);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(wire.exchange('p'), "");
    wire.logger.faults().clear();
    EXPECT_EQ(wire.exchange('p'), statusReply);
}

TEST(SimFaults, SilenceAfterLines)
{
    SimWire wire;
    wire.logger.faults().silenceAfterLines(2);
    EXPECT_EQ(wire.exchange('p'), statusReply);
    EXPECT_EQ(wire.exchange('h', "#2"), "h\r");
    EXPECT_EQ(wire.exchange('p'), "");
    EXPECT_EQ(wire.exchange('h', "#3"), "");
    EXPECT_FALSE(wire.logger.ledOn(3));
    wire.logger.faults().clear();
    EXPECT_EQ(wire.exchange('p'), statusReply);
}

TEST(SimFaults, ForgetfulLinesAcceptWritesButKeepTheirBytes)
{
    SimWire wire;
    wire.logger.faults().forgetHeaderWrites(0x0E00);
    wire.logger.faults().forgetDataWrites(0x0020);
    const QByteArray text = "Sixteen chars..!";
    EXPECT_EQ(wire.write('d', "0E00#" + text), "d\r");
    EXPECT_EQ(wire.write('d', "0E10#" + text), "d\r");
    EXPECT_EQ(wire.write('f', "000020#" + QByteArray(32, '0')), "f\r");
    EXPECT_EQ(wire.write('f', "000030#" + QByteArray(32, '0')), "f\r");
    EXPECT_EQ(wire.exchange('c', "0E00").mid(6, 16), QByteArray(16, ' '));
    EXPECT_EQ(wire.exchange('c', "0E10").mid(6, 16), text);
    EXPECT_EQ(wire.exchange('e', "000020").mid(8, 32), QByteArray(32, 'F'));
    EXPECT_EQ(wire.exchange('e', "000030").mid(8, 32), QByteArray(32, '0'));
}

TEST(SimFaults, HeldStatusByteAnswersWritesButKeepsItsValue)
{
    SimWire wire;
    wire.write('q', "#42"); // test done, battery low
    wire.logger.faults().holdStatusByte(true);
    EXPECT_EQ(wire.write('q', "#00"), "q\r");
    EXPECT_EQ(wire.exchange('p'), "p#42" + SimWire::checksum("#42") + "\r");
    EXPECT_EQ(wire.exchange('t'), "t\r"); // the firmware's own switches still work
    EXPECT_EQ(wire.exchange('p'), "p#C2" + SimWire::checksum("#C2") + "\r");

    wire.logger.faults().clear();
    wire.write('q', "#00");
    EXPECT_EQ(wire.exchange('p'), statusReply);
}

TEST(SimFaults, LineErrorsReachThePort)
{
    const Port::Event errors[] = {Port::Event::Framing, Port::Event::Overrun,
                                  Port::Event::ReceiveOverflow, Port::Event::Parity,
                                  Port::Event::Ring, Port::Event::CdChange};
    for (Port::Event error : errors) {
        SimWire wire;
        wire.logger.raiseLineError(error);
        wire.loop.advance(0); // modem lines reach the port through its line watch
        EXPECT_EQ(wire.events, QList<Port::Event>{error});
    }
    SimWire wire;
    const bool cd = wire.port.cd();
    wire.logger.raiseLineError(Port::Event::CdChange);
    EXPECT_NE(wire.port.cd(), cd);
}

TEST(SimFaults, InterfaceAndCarrierLinesAsConfigured)
{
    SimWire wire;
    EXPECT_TRUE(wire.port.dsr());
    EXPECT_FALSE(wire.port.cd());
    wire.logger.setInterfaceAttached(false);
    wire.logger.setCarrierDetect(true);
    EXPECT_FALSE(wire.port.dsr());
    EXPECT_TRUE(wire.port.cd());
    wire.loop.advance(0);
    EXPECT_EQ(wire.events, (QList<Port::Event>{Port::Event::DsrChange, Port::Event::CdChange}));
}

TEST(SimFaults, BootloaderPromptAtPlugIn)
{
    SimWire wire;
    wire.logger.faults().promptAtPowerUp(true);
    wire.logger.unplug();
    wire.wait(1);
    wire.logger.plugIn();
    wire.wait(0.1);
    EXPECT_EQ(wire.takeReceived(), "?");
    wire.logger.powerUp();
    wire.wait(0.1);
    EXPECT_EQ(wire.takeReceived(), "?");
}

TEST(SimFaults, CtsBusyForAWhileThenReadyAgain)
{
    SimWire wire;
    EXPECT_FALSE(wire.port.cts());
    wire.logger.holdCtsBusy(2000000000LL);
    EXPECT_TRUE(wire.port.cts());
    EXPECT_EQ(wire.exchange('p'), statusReply); // still there, only the line says busy
    wire.wait(2);
    EXPECT_FALSE(wire.port.cts());
    EXPECT_EQ(wire.events.first(), Port::Event::CtsChange);
    EXPECT_EQ(wire.events.last(), Port::Event::CtsChange);
    EXPECT_EQ(wire.events.count(Port::Event::CtsChange), 2);
}

TEST(SimFaults, UnpluggedLoggerIsBusyAndDeafUntilPluggedInAtPowerUpRate)
{
    SimWire wire;
    wire.exchange('u');
    wire.port.applySettings("115200,N,8,1");
    EXPECT_EQ(wire.exchange('p'), statusReply);
    wire.logger.unplug();
    EXPECT_TRUE(wire.port.cts());
    EXPECT_EQ(wire.exchange('p'), "");
    wire.logger.plugIn();
    EXPECT_FALSE(wire.port.cts());
    wire.port.applySettings("9600,N,8,1");
    EXPECT_EQ(wire.exchange('p'), statusReply);
    EXPECT_EQ(wire.events.count(Port::Event::CtsChange), 2);
}

TEST(SimFaults, UnpluggedLoggerObeysNoCommand)
{
    SimWire wire;
    const QByteArray notes = wire.logger.image().header.mid(0x0E00, 16);
    wire.logger.unplug();

    EXPECT_EQ(wire.write('d', "0E00#Sent when absent"), "");
    EXPECT_EQ(wire.write('q', "#3F"), "");
    EXPECT_EQ(wire.exchange('h', "#2"), "");
    EXPECT_EQ(wire.exchange('l'), "");
    wire.wait(5);

    EXPECT_EQ(wire.logger.image().header.mid(0x0E00, 16), notes);
    EXPECT_EQ(wire.logger.statusByte(), 0x00);
    EXPECT_FALSE(wire.logger.ledOn(2));
    EXPECT_FALSE(wire.logger.isLogging());
    wire.logger.plugIn();
    EXPECT_EQ(wire.exchange('p'), statusReply);
}

TEST(SimFaults, FlickeringCtsChangesPerReadingUntilItSettles)
{
    SimWire wire;
    wire.logger.flickerCts(3, 30);
    QByteArray readings;
    for (int i = 0; i < 40; ++i)
        readings += wire.port.cts() ? 'B' : 'r';
    EXPECT_EQ(readings, "BBBrrrBBBrrrBBBrrrBBBrrrBBBrrr" + QByteArray(10, 'r'));

    wire.logger.flickerCts(1, -1, 1000000000LL);
    EXPECT_TRUE(wire.port.cts());
    EXPECT_FALSE(wire.port.cts());
    wire.wait(1);
    EXPECT_FALSE(wire.port.cts());
    EXPECT_FALSE(wire.port.cts());
}

// Byte faults fall at the exact byte counted: the bytes before it arrive,
// then the logger is gone, restarts, or the noise comes before the rest.
TEST(SimFaults, ByteFaultsFallAtTheCountedByte)
{
    {
        // The bytes before the fault go on the cable (those still in flight
        // when the plug comes out never arrive).
        SimWire wire;
        QByteArray sent;
        wire.port.setWireTap([&sent](bool fromLogger, const QByteArray &bytes) {
            if (fromLogger)
                sent += bytes;
        });
        wire.logger.faults().unplugAfterBytes(3);
        wire.exchange('p');
        EXPECT_EQ(sent, "p#0");
        EXPECT_FALSE(wire.logger.isPluggedIn());
        EXPECT_TRUE(wire.port.cts());
    }
    {
        SimWire wire;
        wire.logger.faults().promptAtPowerUp(true);
        wire.logger.faults().restartAfterBytes(9);
        EXPECT_EQ(wire.exchange('p'), statusReply);
        EXPECT_EQ(wire.exchange('p'), "p#?");
        EXPECT_TRUE(wire.logger.isPluggedIn());
        EXPECT_EQ(wire.exchange('p'), statusReply);
    }
    {
        SimWire wire;
        wire.logger.faults().noiseAfterBytes(1, QByteArray("\x00\xFFx", 3));
        EXPECT_EQ(wire.exchange('p'), QByteArray("p\x00\xFFx#0083\r", 10));
        EXPECT_EQ(wire.exchange('p'), statusReply);
    }
}

TEST(SimFaults, ByteFaultsCountFromWhenTheyAreArmedAndClear)
{
    SimWire wire;
    EXPECT_EQ(wire.exchange('p'), statusReply);
    wire.logger.faults().unplugAfterBytes(7);
    EXPECT_EQ(wire.exchange('p'), statusReply);
    EXPECT_TRUE(wire.logger.isPluggedIn());
    wire.logger.faults().clear();
    EXPECT_EQ(wire.exchange('p'), statusReply);
    EXPECT_TRUE(wire.logger.isPluggedIn());
}
