// datalogger-sim: the simulated data logger served on a pseudo-terminal, so
// that any serial terminal (or a program driven through the device path) can
// talk to it as to a logger on a real port.

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
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
};

const struct
{
    speed_t code;
    int baud;
} Speeds[] = {
    {B1200, 1200},     {B2400, 2400},     {B4800, 4800},       {B9600, 9600},
    {B19200, 19200},   {B38400, 38400},   {B57600, 57600},     {B115200, 115200},
    {B230400, 230400}, {B460800, 460800}, {B921600, 921600},
};

std::optional<speed_t> speedCode(int baud)
{
    for (const auto &s : Speeds)
        if (s.baud == baud)
            return s.code;
    return std::nullopt;
}

QString describeSpeeds()
{
    QStringList rates;
    for (const auto &s : Speeds)
        rates << QString::number(s.baud);
    return rates.join(", ");
}

std::optional<Options> parseOptions(const QCoreApplication &app, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Serves a simulated data logger on a pseudo-terminal and prints the device path.\n"
        "Connect any serial terminal to that path (8 data bits, no parity, 1 stop bit).\n"
        "The handshake lines (CTS, DSR, CD, DTR, RTS) do not travel over a pseudo-terminal:\n"
        "a program that waits for the logger's CTS will not see it. The baud rate does:\n"
        "bytes sent at a rate the logger does not use arrive garbled, as on a real line.\n"
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
                                      + describeSpeeds() + "; default 9600).",
                                  "rate", "9600");
    const QCommandLineOption scale("time-scale",
                                   "Logger seconds per real second for the logging engine "
                                   "(default 1; 60 runs a minute's scan period every second).",
                                   "factor", "1");
    parser.addOptions({preset, image, baud, scale});
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
    bool rateOk = false, scaleOk = false;
    options.baud = parser.value(baud).toInt(&rateOk);
    options.timeScale = parser.value(scale).toDouble(&scaleOk);
    options.imageFile = parser.value(image);
    if (!chosen)
        *error = "Unknown preset \"" + parser.value(preset) + "\"; choose one of "
                 + LoggerPresets::names().join(", ") + ".";
    else if (!rateOk || !speedCode(options.baud))
        *error = "Unsupported baud rate \"" + parser.value(baud) + "\"; choose one of "
                 + describeSpeeds() + ".";
    else if (!scaleOk || !(options.timeScale > 0) || options.timeScale > 1e6)
        *error = "The time scale must be a number above 0 (at most 1000000).";
    if (!error->isEmpty())
        return std::nullopt;
    options.preset = *chosen;
    return options;
}

// The master side of a pseudo-terminal with the simulated logger behind it.
// Keeps its own handle on the slave side, so that reads do not fail while no
// terminal is connected and the terminal's settings (its baud rate) can be
// read at any time.
class PtyLogger
{
public:
    PtyLogger(LoggerSimulator &logger, int initialBaud) : m_logger(logger), m_initialBaud(initialBaud) {}
    ~PtyLogger()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }

    bool open(QString *error)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return fail(error, "cannot create a pseudo-terminal");
        const char *name = ::ptsname(m_master);
        if (!name)
            return fail(error, "cannot name the pseudo-terminal");
        m_path = QString::fromLocal8Bit(name);
        m_slave = ::open(name, O_RDWR | O_NOCTTY);
        termios settings{};
        if (m_slave < 0 || ::tcgetattr(m_slave, &settings) != 0)
            return fail(error, "cannot open " + m_path);
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, *speedCode(m_initialBaud));
        ::cfsetospeed(&settings, *speedCode(m_initialBaud));
        if (::tcsetattr(m_slave, TCSANOW, &settings) != 0)
            return fail(error, "cannot set " + m_path + " to raw mode");

        m_reader = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_reader.get(), &QSocketNotifier::activated, [this] { readTerminal(); });
        m_writer = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
        m_writer->setEnabled(false);
        QObject::connect(m_writer.get(), &QSocketNotifier::activated, [this] { flush(); });
        m_logger.setOutputHandler([this](const QByteArray &bytes, int baud) { send(bytes, baud); });
        return true;
    }

    QString path() const { return m_path; }

    // The rate the terminal has set on its side of the line.
    int terminalBaud() const
    {
        termios settings{};
        if (::tcgetattr(m_master, &settings) == 0)
            for (const auto &s : Speeds)
                if (s.code == ::cfgetospeed(&settings))
                    return s.baud;
        return m_initialBaud;
    }

private:
    static bool fail(QString *error, const QString &what)
    {
        *error = what + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }

    void readTerminal()
    {
        char buffer[4096];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            return;
        const int baud = terminalBaud();
        for (ssize_t i = 0; i < n; ++i)
            m_logger.receive(quint8(buffer[i]), baud);
    }

    void send(const QByteArray &bytes, int baud)
    {
        if (baud == terminalBaud()) {
            m_pending += bytes;
        } else {
            for (char c : bytes)
                m_pending += char(LoggerSimulator::garbled(quint8(c)));
        }
        flush();
    }

    // Writes what the terminal's side can take now; the rest waits until the
    // pseudo-terminal has room, so a terminal that does not read never
    // blocks the logger.
    void flush()
    {
        while (!m_pending.isEmpty()) {
            const ssize_t n = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
            if (n <= 0)
                break;
            m_pending.remove(0, n);
        }
        // Nobody reading: keep only a bounded backlog, like a full receive buffer.
        if (m_pending.size() > MaxBacklog)
            m_pending = m_pending.right(MaxBacklog);
        m_writer->setEnabled(!m_pending.isEmpty());
    }

    static constexpr qsizetype MaxBacklog = 1 << 20;
    LoggerSimulator &m_logger;
    int m_initialBaud;
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QByteArray m_pending;
    std::unique_ptr<QSocketNotifier> m_reader;
    std::unique_ptr<QSocketNotifier> m_writer;
};

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

    QtEventLoop loop;
    // The time scale is set before the image goes in, so that a running test
    // resumes on the scaled clock.
    LoggerSimulator logger(loop);
    logger.setTimeScale(options->timeScale);
    // A test that was logging when the image was saved took its scans while
    // the simulator was not running; they are in memory from here on.
    const int caughtUp = logger.loadImage(*image);
    switchToRate(logger, options->baud);
    PtyLogger pty(logger, options->baud);
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
                        << " at " << options->baud << " baud; Ctrl+C to stop.\n";
    const int result = app.exec();
    if (keeper && !keeper->saveNow(&error))
        QTextStream(stderr) << "datalogger-sim: " << error << '\n';
    if (signalFd >= 0)
        ::close(signalFd);
    return result;
}
