#include "tests/link/LinkBench.h"

#include "sim/VirtualEventLoop.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

namespace {
const QString HaltTitle = QStringLiteral("Halt on Error");
const QString HeaderVerifyTitle = QStringLiteral("Header Write Verify Failure in SubSendMessage");
const QString DataVerifyTitle = QStringLiteral("subsendmessage, f command write confirmation error");
const QString TimeoutText = QStringLiteral("TXD Timed out--No Command Echo?");

QByteArray headerLine(const LoggerSimulator &logger, int address)
{
    return logger.image().header.mid(address, 16);
}
} // namespace

class CommandTransportTest : public ::testing::Test
{
protected:
    VirtualEventLoop loop;
    LinkBench bench{loop, SimWire::minimalImage()};
};

TEST_F(CommandTransportTest, StatusByteWriteSendsLetterThenBodyWithChecksumAfterTheEcho)
{
    QStringList txd;
    QObject::connect(&bench.transport, &CommandTransport::txdChanged,
                     [&](const QString &text) { txd.append(text); });
    QString command = "q", address, separator = "#", data = "3F";
    qint16 length = 2;
    bench.transport.SubSendMessage(command, address, separator, data, length);

    const QList<TapPort::Segment> expected = {
        {true, "q"}, {false, "q"}, {true, "#3F9C\r"}, {false, "\r"}};
    EXPECT_EQ(bench.port.conversation(), expected);
    EXPECT_FALSE(bench.state.commAbort);
    // Bits 2 and 3 are the write's alone: its checksum was right.
    EXPECT_EQ(bench.logger.statusByte() & 0x0C, 0x0C);
    EXPECT_EQ(length, 5);
    EXPECT_EQ(bench.state.stReply, "q\r");
    EXPECT_FALSE(bench.state.captureReply);
    EXPECT_EQ(txd.first(), "");
    EXPECT_EQ(txd.last(), "q#3F9C[cr]");
    EXPECT_EQ(bench.trace.pendingTransmit(), QString("q#3F9C[cr]").leftJustified(50, '_'));
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST_F(CommandTransportTest, CommandWithoutChecksumSendsTheBareBody)
{
    bench.send("e", "000010");
    EXPECT_EQ(bench.port.written(), "e000010\r");
    EXPECT_EQ(bench.state.stLastLine, "e000010#" + QString(32, 'F') + "04");
    EXPECT_FALSE(bench.state.commAbort);
}

TEST_F(CommandTransportTest, LoggerThatNeverEchoesIsTriedThreeTimesAndHaltsOnlyWhenAsked)
{
    for (const bool halt : {false, true}) {
        VirtualEventLoop loop;
        LinkBench bench(loop, SimWire::minimalImage());
        bench.switches.haltOnError = halt;
        if (halt)
            bench.dialogs.expect(HaltTitle);
        bench.logger.faults().dropEchoes(SimFaults::Forever);
        QString command = "p", address, separator, data;
        qint16 length = 0;
        bench.transport.SubSendMessage(command, address, separator, data, length);

        EXPECT_EQ(bench.port.written(), "ppp") << halt;
        EXPECT_TRUE(bench.state.commAbort);
        EXPECT_FALSE(bench.state.captureReply);
        EXPECT_FALSE(bench.transport.tmrTxd().isActive());
        // Each attempt ends when the transmit timer trips, 3 s after its letter.
        EXPECT_NEAR(loop.elapsedSeconds(), 9.0, 0.01);
        EXPECT_TRUE(bench.statusTexts.contains(TimeoutText));
        if (halt) {
            // The first trip halts once; the box then unticks itself.
            ASSERT_EQ(bench.dialogs.shown().size(), 1u);
            EXPECT_EQ(bench.dialogs.shown()[0].title, HaltTitle);
            EXPECT_EQ(bench.dialogs.shown()[0].text, "err-09..TXD Data timout timer tripped");
            EXPECT_FALSE(bench.switches.haltOnError);
            EXPECT_EQ(bench.haltUnticks, 1);
        } else {
            EXPECT_TRUE(bench.dialogs.shown().empty());
        }
        EXPECT_EQ(data, "");
    }
}

TEST_F(CommandTransportTest, AbortDuringTheEchoWaitShowsTheNoEchoBoxesWithHaltOnError)
{
    // ABORT pressed during each echo wait: the transmit timer never trips, so
    // each failed attempt and the final failure reach their own boxes while
    // the operator keeps ticking "Halt on error" again.
    bench.switches.haltOnError = true;
    bench.switches.onHaltOnErrorUnticked = [&] { bench.switches.haltOnError = true; };
    bench.logger.faults().dropEchoes(SimFaults::Forever);
    for (int i = 1; i <= 3; ++i)
        loop.scheduleAt(qint64(i) * 500000000, [&] { bench.state.commAbort = true; });
    for (int i = 0; i < 4; ++i)
        bench.dialogs.expect(i < 3 ? HaltTitle : QStringLiteral("No Cmnd Echo in subsendmessage"));
    QString command = "p", address, separator, data;
    qint16 length = 0;
    bench.transport.SubSendMessage(command, address, separator, data, length);

    const QString noEcho = "NO command echo after 3 tries--communications with logger lost?";
    ASSERT_EQ(bench.dialogs.shown().size(), 4u);
    EXPECT_EQ(bench.dialogs.shown()[0].text, "err-10..Halt on error...No Cmnd Echo in subsendmessage");
    EXPECT_EQ(bench.dialogs.shown()[3].icon, int(Dialogs::Critical));
    EXPECT_EQ(bench.dialogs.shown()[3].text, noEcho);
    EXPECT_EQ(data, noEcho);
    EXPECT_EQ(bench.port.written(), "ppp");
    EXPECT_TRUE(bench.state.commAbort);
}

TEST_F(CommandTransportTest, TextWriteOfAnyOtherLengthThanSixteenIsRefusedBeforeSending)
{
    for (const QString &text : {QString(15, 'x'), QString(17, 'x')}) {
        VirtualEventLoop loop;
        LinkBench bench(loop, SimWire::minimalImage());
        bench.dialogs.expect("Msg len error for d command, subSendMessage");
        bench.send("d", "02F0", "#", text, 16);

        EXPECT_EQ(bench.port.written(), "");
        EXPECT_TRUE(bench.state.commAbort);
        ASSERT_EQ(bench.dialogs.shown().size(), 1u);
        EXPECT_EQ(bench.dialogs.shown()[0].text,
                  "Length of Message <>16 ERROR. \r\nAddress & Message:\r\n02F0#" + text + "< is  "
                      + QString::number(text.size()));
        EXPECT_EQ(bench.dialogs.shown()[0].buttons, int(Dialogs::OkOnly));
    }
}

TEST_F(CommandTransportTest, TextWriteIsReadBackAndKept)
{
    bench.send("d", "02F0", "#", "115.2KBaud123456", 16);
    EXPECT_EQ(headerLine(bench.logger, 0x02F0), "115.2KBaud123456");
    EXPECT_EQ(bench.port.written(), "d02F0#115.2KBaud123456" + fnChecksum("02F0#115.2KBaud123456").toLatin1()
                                         + "\rc02F0\r");
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST_F(CommandTransportTest, TextOutsideLatin1GoesOutAsQuestionMarksCheckedAndKept)
{
    QStringList txd;
    QObject::connect(&bench.transport, &CommandTransport::txdChanged,
                     [&](const QString &text) { txd.append(text); });
    // An operator's unit with an Ohm sign: 16 characters, the last not Latin-1.
    bench.send("d", "02F0", "#", QStringLiteral("Pressure 5 bar \u03A9"), 16);

    // 0x5D is the byte sum of "02F0#Pressure 5 bar ?" modulo 256.
    const QList<TapPort::Segment> expected = {{true, "d"},
                                              {false, "d"},
                                              {true, "02F0#Pressure 5 bar ?5D\r"},
                                              {false, "\r"}};
    ASSERT_GE(bench.port.conversation().size(), expected.size());
    EXPECT_EQ(bench.port.conversation().mid(0, expected.size()), expected);
    EXPECT_EQ(bench.port.written(), "d02F0#Pressure 5 bar ?5D\rc02F0\r");
    EXPECT_EQ(headerLine(bench.logger, 0x02F0), "Pressure 5 bar ?");
    EXPECT_TRUE(txd.contains("d02F0#Pressure 5 bar ?5D[cr]")) << "the transmit box shows the wire";
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_TRUE(bench.dialogs.shown().empty()) << "the read-back matches what was sent";
}

TEST_F(CommandTransportTest, HexHeaderWriteIsReadBackWithA)
{
    const QString hex = "00112233445566778899AABBCCDDEEFF";
    bench.send("b", "0030", "#", hex, 32);
    EXPECT_EQ(headerLine(bench.logger, 0x0030).toHex().toUpper(), hex.toLatin1());
    EXPECT_EQ(bench.port.lettersWritten('a'), 1);
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST_F(CommandTransportTest, HeaderVerifyMismatchIsRetriedThenTheOperatorDecides)
{
    struct Case
    {
        QList<int> answers;
        int writes;
    };
    const Case cases[] = {
        {{Dialogs::Cancel}, 3},
        {{Dialogs::Retry, Dialogs::Cancel}, 4},
    };
    for (const Case &c : cases) {
        VirtualEventLoop loop;
        LinkBench bench(loop, SimWire::minimalImage());
        bench.logger.faults().forgetHeaderWrites(0x02F0);
        for (int answer : c.answers)
            bench.dialogs.expect(HeaderVerifyTitle, answer);
        bench.send("d", "02F0", "#", "115.2KBaud123456", 16);

        EXPECT_EQ(bench.port.lettersWritten('d'), c.writes);
        EXPECT_EQ(bench.port.lettersWritten('c'), c.writes);
        EXPECT_FALSE(bench.state.commAbort); // Cancel does not abort
        ASSERT_EQ(bench.dialogs.shown().size(), size_t(c.answers.size()));
        const ScriptedDialogs::Box &box = bench.dialogs.shown()[0];
        EXPECT_EQ(box.buttons, int(Dialogs::RetryCancel));
        EXPECT_EQ(box.text, "sent message: >115.2KBaud123456< Length: 16\r\n"
                            "Rcvd Message: >"
                                + QString(16, ' ')
                                + "< Length: 16\r\n"
                                  "Write verify failed! cancel to abort or OK to retry.");
    }
}

TEST_F(CommandTransportTest, DataVerifyMismatchAsksAtOnceAndAbortSetsTheFlag)
{
    struct Case
    {
        QList<int> answers;
        bool commAbort;
    };
    const Case cases[] = {
        {{Dialogs::Abort}, true},
        {{Dialogs::Ignore}, false},
        {{Dialogs::Retry, Dialogs::Ignore}, false},
    };
    const QString hex = "0123456789ABCDEF0123456789ABCDEF";
    for (const Case &c : cases) {
        VirtualEventLoop loop;
        LinkBench bench(loop, SimWire::minimalImage());
        bench.logger.faults().forgetDataWrites(0x10);
        for (int answer : c.answers)
            bench.dialogs.expect(DataVerifyTitle, answer);
        bench.send("f", "000010", "#", hex, 32);

        EXPECT_EQ(bench.state.commAbort, c.commAbort);
        EXPECT_EQ(bench.port.lettersWritten('f'), c.answers.size());
        ASSERT_EQ(bench.dialogs.shown().size(), size_t(c.answers.size()));
        const ScriptedDialogs::Box &box = bench.dialogs.shown()[0];
        EXPECT_EQ(box.buttons, int(Dialogs::AbortRetryIgnore));
        EXPECT_EQ(box.defaultButton, int(Dialogs::DefaultButton2));
        EXPECT_EQ(box.text, "DATA Write Confirmation ERROR! at: 000010\r\nSent:  " + hex
                                + "\r\nRcvd: " + QString(32, 'F'));
    }
}

TEST_F(CommandTransportTest, DataWriteThatKeepsPassesWithoutABox)
{
    const QString hex = "0123456789ABCDEF0123456789ABCDEF";
    bench.send("f", "000010", "#", hex, 32);
    EXPECT_EQ(bench.logger.image().data.mid(0x10, 16).toHex().toUpper(), hex.toLatin1());
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_TRUE(bench.dialogs.shown().empty());
}

TEST_F(CommandTransportTest, ReplyThatNeverEndsIsAbortedOnceWithItsTraces)
{
    // A body the logger cannot take: it echoes the letter and never answers.
    bench.switches.haltOnError = true;
    bench.dialogs.expect(HaltTitle);
    bench.send("p", "0");

    EXPECT_EQ(bench.port.written(), "p0\r");
    EXPECT_TRUE(bench.state.commAbort);
    EXPECT_FALSE(bench.state.captureReply);
    EXPECT_EQ(bench.state.stReply, "");
    EXPECT_EQ(bench.dialogs.titles(), QStringList{HaltTitle});
    EXPECT_TRUE(bench.trace.text().startsWith(
        "TimeoutAbort error in subsendmessage. Cmd: p Addr: 0  in subsendmessage Timeoutabort\r\n"
        "abort error in getting final VBCR on command string in subSendMessage\r\n"));
    EXPECT_EQ(bench.statusTexts.last(), TimeoutText);
    loop.advanceSeconds(5.0);
    EXPECT_EQ(bench.statusTexts.last(), ""); // blanked by the status line's timer
}

TEST_F(CommandTransportTest, WaitsForTheReadyLineAndGivesUpAtTheTimeOutWithoutSending)
{
    bench.logger.holdCtsBusy(1000000000LL);
    bench.send("p");
    EXPECT_EQ(bench.port.written(), "p\r");
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_GT(loop.elapsedSeconds(), 1.0);

    bench.port.forget();
    bench.logger.unplug();
    bench.switches.debugPrint = bench.switches.debugBeep = true;
    bench.send("p");
    EXPECT_EQ(bench.port.written(), "");
    EXPECT_TRUE(bench.state.commAbort);
    EXPECT_EQ(bench.dialogs.beeps(), 2);
    EXPECT_TRUE(bench.trace.text().startsWith(
        "TimeoutAbort error in subsendmessage. Cmd: p Addr:   in subsendmessage Timeoutabort\r\n"));
}

TEST_F(CommandTransportTest, BodyCharactersAreSpacedOnlyWhenThePauseIsLongerThanTheirFrame)
{
    struct Case
    {
        QString settings;
        double delay;
        qint64 minGapNs; // between the writes of consecutive body characters
        qint64 maxGapNs;
    };
    const Case cases[] = {
        {"9600,N,8,1", CommandTransport::DefaultInterCharDelay, 0, 0},
        {"115200,N,8,1", CommandTransport::DefaultInterCharDelay, 0, 0},
        {"9600,N,8,1", 20000, 2000000, 2100000}, // 2 ms, past the 1.04 ms frame
    };
    for (const Case &c : cases) {
        VirtualEventLoop loop;
        LinkBench bench(loop, SimWire::minimalImage());
        if (c.settings != "9600,N,8,1") {
            bench.send("u");
            bench.port.applySettings(c.settings);
        }
        bench.transport.setInterCharDelay(c.delay);
        bench.port.forget();
        EXPECT_EQ(bench.transport.lineReader().fnReadHexDatae("000010").size(), 42) << c.delay;
        const QList<qint64> times = bench.port.writeTimes(); // e, 0, 0, 0, 0, 1, 0, CR
        ASSERT_EQ(times.size(), 8);
        for (int i = 2; i < 8; ++i) {
            EXPECT_GE(times[i] - times[i - 1], c.minGapNs) << c.settings.toStdString() << " " << i;
            EXPECT_LE(times[i] - times[i - 1], c.maxGapNs) << c.settings.toStdString() << " " << i;
        }
    }
}
