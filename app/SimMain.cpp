// datalogger-sim: the simulated data logger served on a pseudo-terminal, so
// that any serial terminal (or a program driven through the device path) can
// talk to it as to a logger on a real port.

#include "app/PtyLogger.h"
#include "platform/qt/QtEventLoop.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerImageKeeper.h"
#include "sim/LoggerPresets.h"
#include "sim/LoggerSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTextStream>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct Options
{
    LoggerPreset preset = LoggerPreset::Fresh;
    QString imageFile;
    int baud = LoggerSimulator::PowerUpBaud;
    double timeScale = 1.0;
    double turnaroundMs = 0;
    bool realtime = false;
};

std::optional<Options> parseOptions(const QCoreApplication &app, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Serves a simulated data logger on a pseudo-terminal and prints the device path.\n"
        "Connect any serial terminal to that path (8 data bits, no parity, 1 stop bit).\n"
        "The handshake lines (CTS, DSR, CD, DTR, RTS) do not travel over a pseudo-terminal:\n"
        "a program that waits for the logger's CTS will not see it. The baud rate does:\n"
        "bytes sent at a rate the logger does not use arrive garbled, as on a real line,\n"
        "and every byte is paced at the true rate (10 bits a character) in both directions,\n"
        "which the pseudo-terminal itself does not do.\n"
        "Stop it with Ctrl+C; with --image the memory is saved first.");
    parser.addHelpOption();
    const QCommandLineOption preset("preset",
                                    "Logger to start with: " + LoggerPresets::names().join(", ")
                                        + " (default fresh).",
                                    "name", "fresh");
    const QCommandLineOption image("image",
                                   "Memory image file: loaded at start when it exists (else the "
                                   "preset is built and saved there), saved on every change and "
                                   "on exit.",
                                   "file");
    const QCommandLineOption baud("baud",
                                  "Rate of the line at start, logger and terminal side ("
                                      + PtyLogger::describeSpeeds() + "; default 9600).",
                                  "rate", "9600");
    const QCommandLineOption scale("time-scale",
                                   "Logger seconds per real second for the logging engine "
                                   "(default 1; 60 runs a minute's scan period every second).",
                                   "factor", "1");
    const QCommandLineOption turnaround("turnaround-ms",
                                        "An interface adapter's turnaround: each reply of the "
                                        "logger (the echo of a command letter, the answer line, "
                                        "a dump line) starts this long after the logger gave it, "
                                        "unless it follows output still on the line (default 0; "
                                        "USB adapters take 1 to 16).",
                                        "ms", "0");
    const QCommandLineOption realtime("realtime",
                                      "Run at the lowest real-time scheduling priority when the "
                                      "system allows it, so that the pacing holds on a busy "
                                      "machine (a warning when it is refused).");
    parser.addOptions({preset, image, baud, scale, turnaround, realtime});
    if (!parser.parse(app.arguments())) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet("help")) {
        QTextStream(stdout) << parser.helpText();
        std::exit(0);
    }
    Options options;
    const std::optional<LoggerPreset> chosen = LoggerPresets::fromName(parser.value(preset));
    bool rateOk = false, scaleOk = false, turnaroundOk = false;
    options.baud = parser.value(baud).toInt(&rateOk);
    options.timeScale = parser.value(scale).toDouble(&scaleOk);
    options.imageFile = parser.value(image);
    options.turnaroundMs = parser.value(turnaround).toDouble(&turnaroundOk);
    options.realtime = parser.isSet(realtime);
    if (!chosen)
        *error = "Unknown preset \"" + parser.value(preset) + "\"; choose one of "
                 + LoggerPresets::names().join(", ") + ".";
    else if (!rateOk || !PtyLogger::speedCode(options.baud))
        *error = "Unsupported baud rate \"" + parser.value(baud) + "\"; choose one of "
                 + PtyLogger::describeSpeeds() + ".";
    else if (!scaleOk || !(options.timeScale > 0) || options.timeScale > 1e6)
        *error = "The time scale must be a number above 0 (at most 1000000).";
    else if (!turnaroundOk || !(options.turnaroundMs >= 0) || options.turnaroundMs > 1000)
        *error = "The turnaround must be a number of milliseconds from 0 to 1000.";
    if (!error->isEmpty())
        return std::nullopt;
    options.preset = *chosen;
    return options;
}

// Ctrl+C, kill and a closed session end the program through the event loop,
// so that the image is saved on the way out.
std::unique_ptr<QSocketNotifier> quitOnSignals(int *fd)
{
    sigset_t set;
    sigemptyset(&set);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, sig);
    if (::sigprocmask(SIG_BLOCK, &set, nullptr) != 0 || (*fd = ::signalfd(-1, &set, SFD_CLOEXEC)) < 0)
        return nullptr;
    auto notifier = std::make_unique<QSocketNotifier>(*fd, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, [] { QCoreApplication::quit(); });
    return notifier;
}

std::optional<LoggerImage> startImage(const Options &options, QString *error)
{
    if (!options.imageFile.isEmpty() && QFileInfo::exists(options.imageFile))
        return LoggerImage::load(options.imageFile, error);
    LoggerImage image = LoggerPresets::build(options.preset, QDateTime::currentDateTime());
    if (!options.imageFile.isEmpty() && !image.save(options.imageFile, error))
        return std::nullopt;
    return image;
}

// A logger powers up at 9600 baud; to start at another rate it is taken
// through its own baud switch ("u"), as the program does on connection.
void switchToRate(LoggerSimulator &logger, int baud)
{
    if (baud == logger.baud())
        return;
    const int from = logger.baud();
    logger.setOutputHandler({});
    for (char c : QByteArrayLiteral("u\r"))
        logger.receive(quint8(c), from);
}

// The pacing sleeps to within microseconds of each byte; on a machine busy
// with other work only a real-time priority keeps the wake-ups that close.
void takeRealtimePriority()
{
    sched_param param{};
    param.sched_priority = ::sched_get_priority_min(SCHED_FIFO);
    if (::sched_setscheduler(0, SCHED_FIFO, &param) != 0)
        QTextStream(stderr) << "datalogger-sim: no real-time priority ("
                            << QString::fromLocal8Bit(std::strerror(errno))
                            << "); pacing may slip on a busy machine.\n";
}

int fail(const QString &text)
{
    QTextStream(stderr) << "datalogger-sim: " << text << '\n';
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("datalogger-sim");
    QCoreApplication::setApplicationVersion(DATALOGGER_VERSION);

    QString error;
    const std::optional<Options> options = parseOptions(app, &error);
    if (!options)
        return fail(error);
    const std::optional<LoggerImage> image = startImage(*options, &error);
    if (!image)
        return fail(error);

    if (options->realtime)
        takeRealtimePriority();
    QtEventLoop loop;
    // The time scale is set before the image goes in, so that a running test
    // resumes on the scaled clock.
    LoggerSimulator logger(loop);
    logger.setTimeScale(options->timeScale);
    // A test that was logging when the image was saved took its scans while
    // the simulator was not running; they are in memory from here on.
    const int caughtUp = logger.loadImage(*image);
    switchToRate(logger, options->baud);
    PtyLogger pty(logger, options->baud, qint64(std::llround(options->turnaroundMs * 1e6)));
    if (!pty.open(&error))
        return fail(error);
    int signalFd = -1;
    const std::unique_ptr<QSocketNotifier> signalNotifier = quitOnSignals(&signalFd);

    // Every change is on disk soon after it is made, so even a killed
    // program leaves the logger's memory behind.
    std::unique_ptr<LoggerImageKeeper> keeper;
    if (!options->imageFile.isEmpty()) {
        keeper = std::make_unique<LoggerImageKeeper>(loop, logger, options->imageFile);
        keeper->setErrorHandler(
            [](const QString &error) { QTextStream(stderr) << "datalogger-sim: " << error << '\n'; });
        if (caughtUp > 0)
            keeper->memoryChanged();
    }

    QTextStream(stdout) << pty.path() << Qt::endl;
    const QString origin = options->imageFile.isEmpty()
                               ? "preset " + LoggerPresets::name(options->preset)
                               : "image " + options->imageFile;
    QTextStream(stderr) << "datalogger-sim: simulated logger (" << origin << ") on " << pty.path()
                        << " at " << options->baud << " baud, turnaround " << options->turnaroundMs
                        << " ms; Ctrl+C to stop.\n";
    const int result = app.exec();
    if (keeper && !keeper->saveNow(&error))
        QTextStream(stderr) << "datalogger-sim: " << error << '\n';
    if (signalFd >= 0)
        ::close(signalFd);
    return result;
}
