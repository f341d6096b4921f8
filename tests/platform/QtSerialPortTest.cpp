#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtSerialPort.h"

#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

// The real serial-port class on a pseudo-terminal pair: the far end is
// written to directly, the near end is what the program opens.

namespace {

#ifdef Q_OS_LINUX
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_path = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~PseudoTerminal()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    bool ok() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    void send(const QByteArray &bytes) { ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), bytes.size()); }

private:
    int m_master = -1;
    QString m_path;
};

void waitFor(QtEventLoop &loop, const std::function<bool()> &done, int ms = 5000)
{
    const qint64 end = loop.elapsedNs() + qint64(ms) * 1000000;
    while (!done() && loop.elapsedNs() < end)
        loop.yieldUntil(end);
}
#endif

} // namespace

// Qt announces no bytes inside the receive handler, but keeps taking them in:
// what arrives while the handler waits is all there once it is read.
TEST(QtSerialPort, BytesArrivingWhileTheReceiveHandlerWaitsAreKept)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "needs a pseudo-terminal";
#else
    PseudoTerminal pty;
    if (!pty.ok())
        GTEST_SKIP() << "no pseudo-terminal here";
    QtEventLoop loop;
    QtSerialPort port;
    port.setPortName(pty.path());
    ASSERT_TRUE(port.open());
    port.applySettings("9600,N,8,1");

    QByteArray received;
    int events = 0;
    int depth = 0;
    int maxDepth = 0;
    int waitingAfterWait = 0;
    port.setEventHandler([&](Port::Event event) {
        if (event != Port::Event::Receive)
            return;
        ++events;
        maxDepth = std::max(maxDepth, ++depth);
        if (events == 1) {
            pty.send("second\r");
            waitFor(loop, [] { return false; }, 300);
            waitingAfterWait = port.bytesWaiting();
        }
        while (port.bytesWaiting() > 0)
            received += char(port.takeByte());
        --depth;
    });
    pty.send("first\r");
    waitFor(loop, [&] { return received.contains("second\r"); });

    EXPECT_EQ(received, "first\rsecond\r");
    EXPECT_EQ(maxDepth, 1) << "no receive event inside the receive handler";
    EXPECT_GE(waitingAfterWait, 7) << "bytes were taken in while the handler waited";
#endif
}

// A pseudo-terminal has no modem lines: it is used on its data lines alone,
// with CTS read as ready, and asking for DTR raises no error event.
TEST(QtSerialPort, DeviceWithoutModemLinesReadsReadyAndRaisesNothing)
{
#ifndef Q_OS_LINUX
    GTEST_SKIP() << "needs a pseudo-terminal";
#else
    PseudoTerminal pty;
    if (!pty.ok())
        GTEST_SKIP() << "no pseudo-terminal here";
    QtEventLoop loop;
    QtSerialPort port;
    QList<Port::Event> events;
    port.setEventHandler([&](Port::Event event) { events.append(event); });
    port.setPortName(pty.path());
    ASSERT_TRUE(port.open());
    port.setDtr(true);
    port.setRts(true);
    EXPECT_FALSE(port.cts()) << "not asserted: the ready level";
    waitFor(loop, [] { return false; }, 100);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_FALSE(port.hasModemLines());
#endif
}

TEST(QtSerialPort, ClosedPortReadsNoLines)
{
    QtSerialPort port;
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.cts());
    EXPECT_FALSE(port.dsr());
    EXPECT_FALSE(port.cd());
}
