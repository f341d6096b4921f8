// datalogger-cli through the real serial-port code: datalogger-sim on a
// pseudo-terminal, which has no handshake lines (--no-handshake).
#include "tests/cli/CliRun.h"
#include "tests/logger/RecordedTest.h"

#include "sim/LoggerPresets.h"

#include <QDir>
#include <QSerialPort>
#include <QJsonDocument>
#include <QJsonObject>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

QJsonObject jsonOf(const CliRun::Result &result)
{
    return QJsonDocument::fromJson(result.out.toUtf8()).object();
}

} // namespace

TEST(CliSim, StatusAndDownloadOverAPseudoTerminal)
{
    CliRun cli;
    const QString image = cli.home() + "/sim.img";
    RecordedTest recorded = RecordedTest::ramp(3, 0, 40);
    recorded.description = QStringLiteral("Over the wire");
    QString error;
    ASSERT_TRUE(recorded.image().save(image, &error)) << error.toStdString();
    SimOnPty sim(image);
    if (sim.device().isEmpty())
        GTEST_SKIP() << "datalogger-sim found no pseudo-terminal";

    // A pseudo-terminal cannot be unplugged, so the simulator would keep a
    // faster rate from one run to the next: both stay at 9600.
    const QStringList line{"--port", sim.device(), "--no-handshake", "--baud", "9600", "--quiet"};
    const CliRun::Result status = cli.run(QStringList{"status", "--json"} + line);
    ASSERT_EQ(status.exitCode, 0) << status.err.toStdString();
    const QJsonObject test = jsonOf(status)["test"].toObject();
    EXPECT_EQ(test["description"].toString(), "Over the wire");
    EXPECT_EQ(test["scanCount"].toInteger(), 40);

    const QString out = cli.home() + "/downloads";
    const CliRun::Result download = cli.run(QStringList{"download", "--json", "--out", out, "--raw"} + line);
    ASSERT_EQ(download.exitCode, 0) << download.err.toStdString();
    EXPECT_EQ(QDir(out).entryList({"*.CSV", "*.RAW"}, QDir::Files | QDir::CaseSensitive).size(), 2);
}

// A port another program holds: exit code 2 and the system's reason.
TEST(CliSim, BusyPortIsNoLogger)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString device = QString::fromLocal8Bit(ptsname(master));
    QSerialPort holder(device);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite)) << holder.errorString().toStdString();
    CliRun cli;
    const CliRun::Result r = cli.run({"status", "--port", device, "--no-handshake"});
    holder.close();
    ::close(master);
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith("datalogger-cli: cannot open " + device + ": ")) << r.err.toStdString();
}

// A line on which nothing answers: the first header lines cannot be read.
TEST(CliSim, SilentLineIsALinkFailure)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const QString device = QString::fromLocal8Bit(ptsname(master));
    CliRun cli;
    const CliRun::Result r = cli.run({"status", "--port", device, "--no-handshake", "--timeout", "20"});
    ::close(master);
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("the logger's header could not be read")) << r.err.toStdString();
}
