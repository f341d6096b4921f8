#include "tests/link/LinkBench.h"

#include "sim/VirtualEventLoop.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

TEST(Trace, OneHeaderReadWithMonitorAddsOneLine)
{
    VirtualEventLoop loop;
    LinkBench bench(loop, SimWire::minimalImage());
    bench.switches.monitor = true;
    QStringList shown;
    QObject::connect(&bench.trace, &Trace::traceChanged,
                     [&](const QString &text) { shown.append(text); });
    bench.transport.lineReader().fnReadHexHdra("0010");

    const QString body = "0010#" + QString(32, '0');
    const QString received = "a" + body + fnChecksum(body) + "[cr]";
    const QString expected = QString("a0010[cr]").leftJustified(50, '_') + received
        + QString(qMax(1, 50 - int(received.size())), '_') + "\r\n";
    EXPECT_EQ(bench.trace.text(), expected);
    EXPECT_EQ(shown, QStringList{expected});
    EXPECT_EQ(bench.trace.pendingTransmit(), "");
}

TEST(Trace, ErrorLinesGoOnTopAndDropThePendingParts)
{
    Trace trace;
    QStringList added;
    QObject::connect(&trace, &Trace::lineAdded, [&](const QString &line) { added.append(line); });
    QString sent = "p[cr]";
    trace.subDebugPrintTX(sent);
    EXPECT_EQ(sent, "");
    trace.subDebugPrintERR("first");
    trace.receivedLine("x[cr]");
    trace.subDebugPrintERR("second");
    EXPECT_EQ(trace.text(), "second\r\n" + QString(50, '_').replace(0, 5, "x[cr]") + "\r\nfirst\r\n");
    EXPECT_EQ(added, QStringList({"first", QString(50, '_').replace(0, 5, "x[cr]"), "second"}));
    trace.clear();
    EXPECT_EQ(trace.text(), "");
}

TEST(Trace, LongPartsStillGetOneFillCharacterAndTheTraceIsBounded)
{
    Trace trace;
    const QString longLine = QString(60, 'r');
    trace.receivedLine(longLine);
    EXPECT_EQ(trace.text(), longLine + "_\r\n");

    const QString line(998, 'x'); // 1000 characters with CR LF
    for (int i = 0; i < int(Trace::MaxChars / 1000) + 10; ++i)
        trace.subDebugPrintERR(line);
    EXPECT_LE(trace.text().size(), Trace::MaxChars);
    EXPECT_TRUE(trace.text().endsWith(line + "\r\n"));
}
