// The link's option for lines without CTS, which --no-handshake sets: a
// logger whose CTS reads busy is still taken as present and read.
#include "tests/logger/RecordedTest.h"
#include "tests/support/TransportBench.h"

#include <gtest/gtest.h>

namespace {

struct HandshakeBench : VirtualLoopOwner, TransportBench
{
    HandshakeBench()
        : TransportBench(loop, RecordedTest::ramp(2, 0, 10).image())
    {
    }
};

} // namespace

TEST(NoHandshake, LoggerWithCtsBusyIsReadOnlyWithoutTheHandshake)
{
    for (const bool handshake : {true, false}) {
        HandshakeBench bench;
        bench.logger.holdCtsBusy(3600LL * 1'000'000'000);
        bench.connection.link.setHandshake(handshake);
        bench.connect(60);
        EXPECT_EQ(bench.state.loggerConnected, !handshake) << "handshake " << handshake;
        EXPECT_EQ(bench.connection.header.headerValid, !handshake) << "handshake " << handshake;
    }
}
