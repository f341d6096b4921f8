// Timing figures of the transport, not assertions: run
//   ./build/benchmarks/link_benchmark
// They print what one 16-byte data line ("e" read: 8 characters out, 43 back)
// costs against its time on the wire.
#include "tests/link/LinkBench.h"

#include "logger/FunctionsSubs.h"
#include "platform/qt/QtEventLoop.h"
#include "sim/VirtualEventLoop.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <cstdio>
#include <ctime>

namespace {
constexpr int CharsPerLine = 8 + 43;
constexpr int PausedCharsPerLine = 6; // the address digits

double wireMsPerLine(int baud)
{
    return CharsPerLine * 10.0 * 1000.0 / baud;
}

double cpuMs()
{
    return double(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
}

struct Figures
{
    double wallMsPerLine;
    double cpuMsPerLine;
};

Figures readLines(EventLoop &loop, int baud, double delay, int lines)
{
    LinkBench bench(loop, SimWire::minimalImage(4, lines * 16));
    bench.transport.setInterCharDelay(delay);
    if (baud != 9600) {
        bench.send("u");
        bench.port.applySettings(QStringLiteral("%1,N,8,1").arg(baud));
    }
    bench.transport.lineReader().fnReadHexDatae("000000"); // first exchange at the new rate
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuMs();
    for (int i = 0; i < lines; ++i) {
        bench.transport.lineReader().fnReadHexDatae(fnHex6(i * 16));
        if (bench.state.commAbort)
            ADD_FAILURE() << "line " << i << " failed";
    }
    return {double(wall.nsecsElapsed()) / 1e6 / lines, (cpuMs() - cpu0) / lines};
}
} // namespace

// The same exchange done by hand with nothing but the port: what the
// simulated line itself takes in real time (its timers count whole ms).
TEST(TransportTiming, BareExchangesOnTheSimulatedLine)
{
    for (const int baud : {9600, 115200}) {
        QtEventLoop loop;
        LoggerSimulator logger(loop, SimWire::minimalImage(4, 16000));
        SimPort port(loop, logger);
        QByteArray received;
        port.setEventHandler([&](Port::Event) {
            while (port.bytesWaiting() > 0)
                received.append(char(port.takeByte()));
        });
        port.open();
        auto exchange = [&](const QByteArray &letter, const QByteArray &body) {
            received.clear();
            port.write(letter);
            while (received.isEmpty())
                loop.yield();
            port.write(body + "\r");
            while (!received.endsWith('\r') || received.size() < 2)
                loop.yield();
        };
        if (baud != 9600) {
            exchange("u", "");
            port.applySettings(QStringLiteral("%1,N,8,1").arg(baud));
        }
        const int lines = baud == 9600 ? 100 : 1000;
        QElapsedTimer wall;
        wall.start();
        for (int i = 0; i < lines; ++i)
            exchange("e", fnHex6(i * 16).toLatin1());
        std::printf("%6d baud, bare exchange: %6.2f ms per line, wire %6.2f ms\n", baud,
                    wall.nsecsElapsed() / 1e6 / lines, wireMsPerLine(baud));
    }
}

TEST(TransportTiming, PausePerCharacterUnderTheQtLoop)
{
    QtEventLoop loop;
    for (const double delay : {500.0, 100.0, 2000.0}) {
        const qint64 pauseNs = qint64(delay) * CommandTransport::DelayUnitNs;
        const int n = 2000;
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = cpuMs();
        for (int i = 0; i < n; ++i) {
            const qint64 deadline = loop.elapsedNs() + pauseNs;
            while (loop.elapsedNs() < deadline)
                loop.yieldUntil(deadline);
        }
        std::printf("pause %5.0f counts: asked %6.1f us, took %6.1f us, cpu %5.1f us each\n", delay,
                    pauseNs / 1e3, wall.nsecsElapsed() / 1e3 / n, (cpuMs() - cpu0) * 1e3 / n);
    }
}

TEST(TransportTiming, OwnHandlingPerLineUnderVirtualTime)
{
    // Under virtual time nothing waits: the wall time is the program's own
    // work per line (transport, line read, receive handling) plus the simulator's.
    VirtualEventLoop loop;
    const int lines = 20000;
    const Figures f = readLines(loop, 115200, 500, lines);
    std::printf("own handling incl. simulator: %.1f us per line (cpu %.1f us)\n",
                f.wallMsPerLine * 1e3, f.cpuMsPerLine * 1e3);
}

TEST(TransportTiming, LinesInRealTimeWithTheSimulatedLogger)
{
    struct Run
    {
        int baud;
        double delay;
        int lines;
    };
    const Run runs[] = {{9600, 500, 100}, {9600, 0, 100}, {115200, 500, 1000}, {115200, 0, 1000}, {115200, 2000, 1000}};
    for (const Run &r : runs) {
        QtEventLoop loop;
        const Figures f = readLines(loop, r.baud, r.delay, r.lines);
        std::printf("%6d baud, delay %4.0f: %6.2f ms per line, wire %6.2f ms, cpu %5.2f ms "
                    "(pauses asked %.0f us per line, slept only past a frame)\n",
                    r.baud, r.delay, f.wallMsPerLine, wireMsPerLine(r.baud), f.cpuMsPerLine,
                    PausedCharsPerLine * r.delay * CommandTransport::DelayUnitNs / 1e3);
    }
}
