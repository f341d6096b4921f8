#include "sim/PacedLine.h"

#include <gtest/gtest.h>

// The pacing of the logger's side of a line that does not pace itself (the
// pseudo-terminal of datalogger-sim): when each byte is due.

namespace {

constexpr qint64 Ms = 1'000'000;

// When each byte due between `from` and `to` leaves, polled as the sender does.
std::vector<qint64> leaveTimes(PacedLine &line, qint64 from, qint64 to)
{
    std::vector<qint64> times;
    for (qint64 due = line.nextDueNs(); due >= 0 && due <= to; due = line.nextDueNs()) {
        EXPECT_GE(due, from);
        EXPECT_TRUE(line.takeDue(due - 1).isEmpty()) << "nothing leaves before its time";
        const QByteArray bytes = line.takeDue(due);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            times.push_back(due);
    }
    return times;
}

TEST(PacedLine, EachCharacterTakesTenBitTimes)
{
    EXPECT_EQ(PacedLine::charNs(9600), 1'041'666);
    EXPECT_EQ(PacedLine::charNs(115200), 86'805);
}

TEST(PacedLine, AReadLineComesBackAtTheLineRateAfterTheTurnaround)
{
    const struct
    {
        int baud;
        qint64 turnaroundNs;
    } cases[] = {{115200, 0}, {115200, 1 * Ms}, {115200, 16 * Ms}, {9600, 0}, {9600, 16 * Ms}};
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.baud << " baud, turnaround " << c.turnaroundNs);
        PacedLine line;
        line.setTurnaroundNs(c.turnaroundNs);
        const qint64 ch = PacedLine::charNs(c.baud);
        const qint64 t0 = 5 * Ms;

        // The letter crosses the line; its echo leaves after the turnaround.
        const std::vector<qint64> letter = line.pcSends(1, c.baud, t0);
        ASSERT_EQ(letter.size(), 1u);
        EXPECT_EQ(letter[0], t0 + ch);
        line.loggerSends("e", c.baud, letter[0]);
        const std::vector<qint64> echo = leaveTimes(line, t0, t0 + 100 * Ms);
        ASSERT_EQ(echo.size(), 1u);
        EXPECT_EQ(echo[0], letter[0] + c.turnaroundNs + ch);

        // The address and carriage return, written at once by the PC,
        // arrive one character time apart; the 42-character reply follows
        // the last after the turnaround, a character time apart.
        const std::vector<qint64> body = line.pcSends(7, c.baud, echo[0]);
        ASSERT_EQ(body.size(), 7u);
        for (size_t i = 0; i < body.size(); ++i)
            EXPECT_EQ(body[i], echo[0] + qint64(i + 1) * ch);
        line.loggerSends(QByteArray(41, 'A') + '\r', c.baud, body.back());
        const std::vector<qint64> reply = leaveTimes(line, body.back(), body.back() + 1000 * Ms);
        ASSERT_EQ(reply.size(), 42u);
        for (size_t i = 0; i < reply.size(); ++i)
            EXPECT_EQ(reply[i], body.back() + c.turnaroundNs + qint64(i + 1) * ch) << i;
        EXPECT_TRUE(line.idle());

        // One line read: 8 characters out, 43 back, two turnarounds.
        EXPECT_EQ(reply.back() - t0, 51 * ch + 2 * c.turnaroundNs);
    }
}

TEST(PacedLine, OutputGivenWhileTheLineIsBusyFollowsWithoutAnotherTurnaround)
{
    PacedLine line;
    line.setTurnaroundNs(1 * Ms);
    const qint64 ch = PacedLine::charNs(115200);
    line.loggerSends("ab", 115200, 0);
    line.loggerSends("cd", 115200, ch); // a dump line while the answer is still going out
    const std::vector<qint64> times = leaveTimes(line, 0, 100 * Ms);
    ASSERT_EQ(times.size(), 4u);
    for (size_t i = 0; i < times.size(); ++i)
        EXPECT_EQ(times[i], 1 * Ms + qint64(i + 1) * ch);
}

TEST(PacedLine, ASenderThatWakesLateSendsWhatIsDueAtOnceAndKeepsTheSchedule)
{
    PacedLine line;
    const qint64 ch = PacedLine::charNs(9600);
    line.loggerSends("abcd", 9600, 0);
    EXPECT_EQ(line.takeDue(2 * ch + 10), "ab");
    EXPECT_EQ(line.nextDueNs(), 3 * ch);
    EXPECT_EQ(line.takeDue(4 * ch), "cd");
    EXPECT_EQ(line.nextDueNs(), -1);
}

} // namespace
