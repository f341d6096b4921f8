#include "tests/logger/InitBench.h"

#include "logger/FunctionsSubs.h"
#include "sim/HeaderWriter.h"

#include <gtest/gtest.h>

InitBench::InitBench(LoggerPreset preset)
    : InitBench(LoggerPresets::build(preset, VirtualEventLoop().now()))
{
}

InitBench::InitBench(const LoggerImage &image)
    : TransportBench(loop, image)
    , init(connection.initializer)
{
    record();
}

void InitBench::record()
{
    QObject::connect(&init, &LoggerInitializer::messageLine,
                     [this](const QString &text) { messages << text; });
    QObject::connect(&init, &LoggerInitializer::initTimeShown,
                     [this](const QString &text) { initTimes << text; });
    QObject::connect(&init, &LoggerInitializer::lastDownloadCleared,
                     [this] { ++lastDownloadCleared; });
    QObject::connect(&init, &LoggerInitializer::lastReadCleared, [this] { ++lastReadCleared; });
    QObject::connect(&init, &LoggerInitializer::headerProgressSet,
                     [this](int value) { progress = value; });
}

QString InitBench::textAt(int address) const
{
    QByteArray header = logger.image().header;
    return HeaderWriter(header).textAt(address);
}

QString InitBench::hexAt(int address) const
{
    QByteArray header = logger.image().header;
    return HeaderWriter(header).hexAt(address);
}

Connected::Connected(LoggerPreset preset) : bench(preset)
{
    bench.connect();
    EXPECT_TRUE(bench.connection.header.headerValid);
    bench.port.forget();
}

QString textWrite(const QString &address, const QString &text)
{
    const QString body = address + "#" + text;
    return "d" + body + fnChecksum(body) + "|c" + address + "|";
}

QString hexWrite(const QString &address, const QString &digits)
{
    const QString body = address + "#" + digits;
    return "b" + body + fnChecksum(body) + "|a" + address + "|";
}

QString statusWrite(const QString &hex)
{
    return "q#" + hex + fnChecksum("#" + hex) + "|";
}
