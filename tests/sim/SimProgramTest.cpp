#include "logger/FunctionsSubs.h"
#include "sim/LoggerImage.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// datalogger-sim run as a program: a terminal on its pseudo-terminal talks
// to the logger, and an image file keeps what was written between runs.

namespace {

constexpr int ReplyTimeoutMs = 10000;

class SimProgramTest : public ::testing::Test
{
protected:
    ~SimProgramTest() override { stop(); }

    // Starts the program and opens its pseudo-terminal as a terminal would.
    void start(const QStringList &arguments)
    {
        m_process.start(DATALOGGER_SIM_PATH, arguments);
        ASSERT_TRUE(m_process.waitForStarted(ReplyTimeoutMs));
        while (!m_process.canReadLine() && m_process.waitForReadyRead(ReplyTimeoutMs)) {
        }
        const QByteArray path = m_process.readLine().trimmed();
        ASSERT_TRUE(path.startsWith("/dev/")) << path.constData();
        m_fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(m_fd, 0);
        termios settings{};
        ASSERT_EQ(::tcgetattr(m_fd, &settings), 0);
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B9600);
        ::cfsetospeed(&settings, B9600);
        ASSERT_EQ(::tcsetattr(m_fd, TCSANOW, &settings), 0);
    }

    // Ends the program as Ctrl+C or a kill would; returns its exit code.
    int stop()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (m_process.state() == QProcess::NotRunning)
            return m_process.exitCode();
        m_process.terminate();
        if (!m_process.waitForFinished(ReplyTimeoutMs)) {
            m_process.kill();
            m_process.waitForFinished();
            return -1;
        }
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    // Bytes up to and including `last`, or what came before the time-out.
    QByteArray readUpTo(char last)
    {
        QByteArray got;
        pollfd p{m_fd, POLLIN, 0};
        while (::poll(&p, 1, ReplyTimeoutMs) > 0) {
            char c = 0;
            if (::read(m_fd, &c, 1) != 1)
                break;
            got += c;
            if (c == last)
                break;
        }
        return got;
    }

    // A command as the program sends it: the letter, its echo, then the body
    // and a carriage return; returns the echo and the reply.
    QByteArray exchange(char letter, const QByteArray &body)
    {
        EXPECT_EQ(::write(m_fd, &letter, 1), 1);
        QByteArray reply = readUpTo(letter);
        const QByteArray rest = body + '\r';
        EXPECT_EQ(::write(m_fd, rest.constData(), size_t(rest.size())), rest.size());
        return reply + readUpTo('\r');
    }

    static QByteArray withChecksum(const QByteArray &text)
    {
        return text + fnChecksum(QString::fromLatin1(text)).toLatin1();
    }

    QProcess m_process;
    int m_fd = -1;
    QTemporaryDir m_dir;
};

TEST_F(SimProgramTest, AnswersCommandsOnItsPseudoTerminal)
{
    start({"--preset", "finished"});
    EXPECT_EQ(exchange('c', "0200"), "c" + withChecksum("0200#T410-8MC00041002") + '\r');
    const QByteArray status = exchange('p', "");
    EXPECT_EQ(status.size(), 7) << status.constData();
    EXPECT_EQ(status.left(2), "p#");
    EXPECT_EQ(stop(), 0);
}

TEST_F(SimProgramTest, AnswersThroughAnAdaptersTurnaround)
{
    start({"--preset", "finished", "--turnaround-ms", "16"});
    EXPECT_EQ(exchange('c', "0200"), "c" + withChecksum("0200#T410-8MC00041002") + '\r');
    EXPECT_EQ(exchange('e', "000000").size(), 43);
    EXPECT_EQ(stop(), 0);
}

TEST_F(SimProgramTest, KeepsWhatWasWrittenInItsImageFile)
{
    const QString file = m_dir.filePath("demo.img");
    start({"--preset", "fresh", "--image", file});
    const QByteArray notes = "Kept by the sim^";
    EXPECT_EQ(exchange('d', withChecksum("0E00#" + notes)), "d\r");
    EXPECT_EQ(stop(), 0);

    const std::optional<LoggerImage> saved = LoggerImage::load(file, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->header.mid(0x0E00, 16), notes);

    // The next run starts from the file, not from the preset.
    start({"--preset", "older", "--image", file});
    EXPECT_EQ(exchange('c', "0E00"), "c" + withChecksum("0E00#" + notes) + '\r');
}

TEST_F(SimProgramTest, AKilledSimulatorHasAlreadySavedWhatWasWritten)
{
    const QString file = m_dir.filePath("demo.img");
    start({"--preset", "fresh", "--image", file});
    const QByteArray notes = "Kept before kill";
    EXPECT_EQ(exchange('d', withChecksum("0E10#" + notes)), "d\r");
    // The answer came after the change was made; the save follows at once.
    exchange('p', "");
    m_process.kill();
    ASSERT_TRUE(m_process.waitForFinished(ReplyTimeoutMs));

    const std::optional<LoggerImage> saved = LoggerImage::load(file, nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->header.mid(0x0E10, 16), notes);
}

TEST_F(SimProgramTest, RefusesBadOptionsAndExplainsItsLimits)
{
    QProcess help;
    help.start(DATALOGGER_SIM_PATH, {"--help"});
    ASSERT_TRUE(help.waitForFinished(ReplyTimeoutMs));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray helpText = help.readAllStandardOutput();
    EXPECT_TRUE(helpText.contains("handshake lines"));
    EXPECT_TRUE(helpText.contains("--turnaround-ms"));

    for (const QStringList &arguments :
         {QStringList{"--preset", "nosuch"}, QStringList{"--baud", "1234"}, QStringList{"--time-scale", "0"},
          QStringList{"--turnaround-ms", "-1"}, QStringList{"--turnaround-ms", "soon"},
          QStringList{"--turnaround-ms", "5000"}}) {
        QProcess bad;
        bad.start(DATALOGGER_SIM_PATH, arguments);
        ASSERT_TRUE(bad.waitForFinished(ReplyTimeoutMs));
        EXPECT_NE(bad.exitCode(), 0) << arguments.join(' ').toStdString();
        EXPECT_FALSE(bad.readAllStandardError().isEmpty());
    }
}

} // namespace
