// Download figures, not assertions: run
//   ./build/benchmarks/download_benchmark
// Each case runs in a child process of its own, so each peak memory figure
// is its own. The wire cases run the program as it runs on a PC (the real
// serial-port class, Qt's event loop, real files) against datalogger-sim on
// a pseudo-terminal, the simulator pacing every character at the baud rate.
// The memory cases run in virtual time and compare a small logger with a
// 4 MiB one: what the download itself adds to the resident memory.
#include "tests/logger/DownloadBench.h"
#include "tests/logger/RecordedTest.h"

#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int CharsPerLine = 8 + 43;
// The exchanges of one data line that wait for the logger's answer: the
// echo of the letter and the reply line.
constexpr int RepliesPerLine = 2;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Resident and peak resident memory, KiB, from /proc.
qint64 procStatus(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

void resetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// A finished test of four channels filling the given number of data lines.
RecordedTest testOfLines(int lines, int memoryTypeCode, int chips)
{
    RecordedTest test = RecordedTest::ramp(4, 0, 2 * lines - 1);
    test.memoryTypeCode = memoryTypeCode;
    test.memoryChips = chips;
    return test;
}

// Answers every box with its first button and names the file.
class BenchDialogs : public Dialogs
{
public:
    explicit BenchDialogs(QString file) : m_file(std::move(file)) {}
    int Message_Box(const QString &prompt, int, const QString &title) override
    {
        std::fprintf(stderr, "box \"%s\": %s\n", qPrintable(title), qPrintable(prompt));
        return Ok;
    }
    QString getOpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString getSaveFileName(const QString &, const QString &, const QString &) override { return m_file; }
    int runModal(QObject *) override { return 0; }
    void beep() override {}
    void setBusy(bool) override {}

private:
    QString m_file;
};

int wireCase(int baud, int lines, int turnaroundMs)
{
    QTemporaryDir dir;
    const QString imageFile = dir.filePath(QStringLiteral("logger.img"));
    QString error;
    if (!testOfLines(lines, 3, 1).image().save(imageFile, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{QStringLiteral("--image"), imageFile};
    if (turnaroundMs > 0)
        arguments << QStringLiteral("--turnaround-ms") << QString::number(turnaroundMs);
    sim.start(QStringLiteral(DATALOGGER_SIM_PATH), arguments);
    if (!sim.waitForStarted(10000))
        return 1;
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    const QString device = QString::fromLocal8Bit(sim.readLine().trimmed());

    SettingsStore settings(dir.filePath(QStringLiteral("settings.ini")));
    StartupSettings(settings).save(QStringLiteral("CommPortNum"), QStringLiteral("1"));
    QtEventLoop loop;
    QtSerialPort port;
    BenchDialogs dialogs(dir.filePath(QStringLiteral("run")));
    LoggerConnection connection(port, loop, settings, dialogs);
    connection.link.setDeviceOverride(device);
    connection.link.baud().setAutoBaud(baud != 9600);
    DataDownload::Hooks hooks = connection.downloadHooks();
    hooks.fileOptions = [&dir] { return DownloadFiles::Options{dir.path(), true, true}; };
    connection.download.setHooks(hooks);

    connection.link.subCommConnect();
    const qint64 end = loop.elapsedNs() + 120'000'000'000LL;
    while (!(connection.header.headerValid && !connection.link.sequences().isRunning())
           && loop.elapsedNs() < end)
        loop.yieldUntil(end);
    if (!connection.header.headerValid) {
        std::fprintf(stderr, "the header was not read\n");
        return 1;
    }
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    connection.link.sequences().runCommand([&] { connection.download.subReadData(); });
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpu0;
    sim.kill();
    sim.waitForFinished();

    const double lineWire = CharsPerLine * 10.0 / baud;
    const double modelled = lines * (lineWire + RepliesPerLine * turnaroundMs / 1000.0);
    const double cpuShare = cpu / lines / (CharsPerLine * 10.0 / 115200);
    std::printf("%6d baud, %4d lines, turnaround %2d ms: %7.2f s, ratio %.3f to wire+turnaround, "
                "CPU per line %5.2f%% of a 115200 line, peak memory %lld KiB%s\n",
                baud, lines, turnaroundMs, seconds, seconds / modelled, cpuShare * 100,
                procStatus("VmHWM:"),
                connection.download.ending() == DataDownload::Ending::Complete ? "" : " (INCOMPLETE)");
    return 0;
}

int memoryCase(int lines, int memoryTypeCode, int chips)
{
    const LoggerImage image = testOfLines(lines, memoryTypeCode, chips).image();
    DownloadBench bench(image);
    bench.chooseName(QStringLiteral("run"));
    bench.options.raw = true;
    // The bench's wire recorder is test equipment: emptied as the lines go,
    // it does not count against the program.
    bench.atAddress([&bench](qint64) { bench.port.forget(); });
    const qint64 before = procStatus("VmRSS:");
    resetPeakMemory();
    QElapsedTimer wall;
    wall.start();
    bench.download();
    std::printf("%7d lines (%5lld KiB of memory): resident before %lld KiB, peak during the download "
                "%lld KiB, growth %lld KiB, %.1f s in virtual time%s\n",
                lines, qint64(image.data.size()) / 1024, before, procStatus("VmHWM:"),
                procStatus("VmHWM:") - before, double(wall.nsecsElapsed()) / 1e9,
                bench.downloader.ending() == DataDownload::Ending::Complete ? "" : " (INCOMPLETE)");
    return 0;
}

int runChild(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    return child.exitCode();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 4 && args[0] == QLatin1String("--wire"))
        return wireCase(args[1].toInt(), args[2].toInt(), args[3].toInt());
    if (args.size() == 4 && args[0] == QLatin1String("--memory"))
        return memoryCase(args[1].toInt(), args[2].toInt(), args[3].toInt());
    std::printf("Download against datalogger-sim on a pseudo-terminal:\n");
    std::fflush(stdout);
    int failures = 0;
    for (const QStringList &c : QList<QStringList>{{"115200", "2000", "0"},
                                                   {"115200", "2000", "1"},
                                                   {"115200", "2000", "16"},
                                                   {"9600", "300", "0"},
                                                   {"9600", "300", "16"}})
        failures += runChild(QStringList{QStringLiteral("--wire")} + c) != 0;
    std::printf("Memory the download adds, in virtual time:\n");
    std::fflush(stdout);
    // 2,000 lines on one 64 KiB chip; 4 MiB: eight 512 KiB chips, full.
    failures += runChild({"--memory", "2000", "2", "1"}) != 0;
    failures += runChild({"--memory", "262143", "5", "8"}) != 0;
    return failures;
}
