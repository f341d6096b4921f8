#include "tests/logger/HeaderBench.h"

#include "logger/FunctionsSubs.h"
#include "sim/LoggerPresets.h"

#include <gtest/gtest.h>

namespace {

const QString ConfirmTitle = QStringLiteral("Confirm Serial Number");

LoggerImage finished()
{
    return LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
}

// A carriage return inside a text line cuts every reply to it short, so the
// line can never be read.
QString unreadable(const QString &line)
{
    return line.left(5) + '\r' + line.mid(6);
}

QString textWrite(const QString &address, const QString &text)
{
    const QString body = address + "#" + text;
    return "d" + body + fnChecksum(body) + "|";
}

} // namespace

TEST(HeaderRepair, DueDateLeftAsXIsWrittenBackAndABlankOneShowsTheDefault)
{
    HeaderBench bench(finished());
    bench.setLine(0x0760, "40123.xxxxxxAB12");
    bench.setLine(0x0860, QString(12, ' ') + "xxxx");
    bench.reader.subReadHeader();

    EXPECT_TRUE(bench.port.writtenText().contains(textWrite("0760", "40123.000000AB12")));
    EXPECT_EQ(bench.port.writtenText().count("d0"), 1);
    EXPECT_EQ(bench.lineAt(0x0760), "40123.000000AB12");
    EXPECT_EQ(bench.header.channel[1].calDue, "2009/11/06");
    EXPECT_EQ(bench.header.channel[2].calDue, "2010/01/01");
    EXPECT_EQ(bench.lineAt(0x0860), QString(12, ' ') + "xxxx");
    EXPECT_TRUE(bench.header.headerValid);
}

TEST(HeaderRepair, AFailedOptionalLineReadsZeroAndTheNextChannelFollows)
{
    const struct
    {
        int address;
        CalValue ChannelCalRecord::*field;
        const char *notAsked; // the channel's line after it, not read
    } cases[] = {
        {0x06E0, &ChannelCalRecord::scOutputAt0, "c06F0"},
        {0x06F0, &ChannelCalRecord::scOutputAt100, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.address);
        HeaderBench bench(finished());
        bench.setLine(c.address, unreadable(bench.lineAt(c.address)));
        bench.reader.subReadHeader();

        const QString wire = bench.port.writtenText();
        EXPECT_EQ((bench.header.channel[0].*c.field).text, "0");
        EXPECT_EQ((bench.header.channel[0].*c.field).value, 0.0f);
        if (c.notAsked)
            EXPECT_FALSE(wire.contains(c.notAsked));
        EXPECT_TRUE(wire.contains("c0700"));
        EXPECT_EQ(bench.header.channel[1].location, "PIPE");
        EXPECT_TRUE(bench.header.headerValid);
        EXPECT_FALSE(bench.state.commAbort);
        EXPECT_FALSE(bench.events.contains("connectionCheck"));
    }
}

TEST(HeaderRepair, AFailedLineStopsTheReadAndKeepsThePreviousHeader)
{
    HeaderBench bench(finished());
    bench.setLine(0x0410, unreadable(bench.lineAt(0x0410)));
    bench.header.modelVersion = "previous";
    bench.header.scanPeriod = 5;
    bench.header.headerText = "old text";
    bench.header.headerValid = true;
    bench.reader.subReadHeader();

    EXPECT_FALSE(bench.port.writtenText().contains("c0420"));
    EXPECT_EQ(bench.header.modelVersion, "previous");
    EXPECT_EQ(bench.header.scanPeriod, 5u);
    EXPECT_EQ(bench.header.headerText, "old text");
    EXPECT_FALSE(bench.header.headerValid);
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_EQ(bench.lastProgress, 0.0);
    // The download file block is not rebuilt; the link looks at the line again.
    EXPECT_EQ(bench.events, QStringList({"monitorFrame", "autoBaud", "connectionCheck"}));
    EXPECT_EQ(bench.messages, QStringList({"Downloading Logger Header Data"}));
}

TEST(HeaderRepair, AnUnreadableDownloadFileLineIsBlankedAndReadAgain)
{
    HeaderBench bench(finished());
    bench.setLine(0x0560, unreadable(QString(16, 'x')));
    bench.reader.subReadHeader();

    EXPECT_TRUE(bench.port.writtenText().contains(textWrite("0560", QString(16, ' '))));
    EXPECT_EQ(bench.header.lastDownloadFile, QString(16, 'x') + QString(16, ' '));
    EXPECT_TRUE(bench.header.headerValid);
    EXPECT_TRUE(bench.port.writtenText().contains("c0DF0"));
}

TEST(HeaderRepair, ALoggerThatStopsAnsweringAtTheDownloadFileLineEndsTheRead)
{
    HeaderBench bench(finished());
    // Silence once 0550 has been read: 22 lines in.
    QObject::connect(&bench.reader, &HeaderReader::progressChanged, [&bench](double value, int) {
        if (value == 22.0)
            bench.logger.faults().silenceAfterLines(0);
    });
    bench.reader.subReadHeader();

    EXPECT_FALSE(bench.header.headerValid);
    EXPECT_TRUE(bench.events.contains("connectionCheck"));
    // One blanking write was tried and no line was asked for after it.
    const QString afterLine0550 = bench.port.writtenText().section("c0550|", 1);
    EXPECT_TRUE(afterLine0550.contains('d'));
    EXPECT_FALSE(afterLine0550.section('d', 1).contains('c'));
    EXPECT_FALSE(bench.port.writtenText().contains("c0600"));
}

TEST(HeaderRepair, ADownloadFileLineThatKeepsFailingIsGivenUp)
{
    HeaderBench bench(finished());
    bench.setLine(0x0560, unreadable(QString(16, 'x')));
    bench.logger.faults().forgetHeaderWrites(0x0560);
    bench.reader.subReadHeader();

    EXPECT_FALSE(bench.header.headerValid);
    EXPECT_TRUE(bench.events.contains("connectionCheck"));
    // The blanks never stay, so the line cannot be read back: one try only.
    EXPECT_EQ(bench.port.writtenText().count("d0560"), 1);
    EXPECT_FALSE(bench.port.writtenText().contains("c0600"));
}

TEST(HeaderNotes, DecodesThePageAndKeepsNotesWithoutAnEndMark)
{
    HeaderBench bench(finished());
    bench.setLine(0x0E00, "AB@@CD^EF");
    bench.reader.subReadHeaderNotes();
    EXPECT_EQ(bench.header.notes, "AB\r\nCD");
    EXPECT_EQ(bench.notesShown, QStringList({"AB\r\nCD"}));

    for (int line = 0; line < 16; ++line)
        bench.setLine(0x0E00 + 16 * line, "no end mark here");
    bench.reader.subReadHeaderNotes();
    EXPECT_EQ(bench.header.notes, "AB\r\nCD");
    EXPECT_EQ(bench.notesShown.size(), 1);
}

TEST(HeaderNotes, AFailedNotesLineIsReportedInTheNotesField)
{
    HeaderBench bench(finished());
    bench.header.notes = "before";
    bench.setLine(0x0E50, unreadable("x@@y^"));
    bench.reader.subReadHeaderNotes();
    EXPECT_EQ(bench.notesShown, QStringList({"Error during read at memory location 0E50."}));
    EXPECT_EQ(bench.header.notes, "before");
    EXPECT_FALSE(bench.state.commAbort);
    EXPECT_FALSE(bench.port.writtenText().contains("c0E60"));
}

TEST(ConfirmSN, TheSameLoggerGoesOnWithoutAsking)
{
    HeaderBench bench(finished());
    bench.header.modelVersion = "T410-8MC";
    bench.header.serialNumber = "00041002";
    bench.reader.subConfirmSN();
    EXPECT_TRUE(bench.dialogs.shown().empty());
    EXPECT_FALSE(bench.state.commAbort);
}

TEST(ConfirmSN, AnotherLoggerAsksAbortRetryIgnore)
{
    const struct
    {
        std::vector<int> answers;
        bool abort;
    } cases[] = {
        {{Dialogs::Abort}, true},
        {{Dialogs::Ignore}, false},
        {{Dialogs::Retry, Dialogs::Abort}, true},
        {{Dialogs::Retry, Dialogs::Retry, Dialogs::Ignore}, false},
    };
    for (const auto &c : cases) {
        HeaderBench bench(finished());
        bench.header.modelVersion = "T410-4UA";
        bench.header.serialNumber = "00041003";
        bench.state.commAbort = true;
        for (int answer : c.answers)
            bench.dialogs.expect(ConfirmTitle, answer);
        bench.reader.subConfirmSN();

        ASSERT_EQ(bench.dialogs.shown().size(), c.answers.size());
        EXPECT_EQ(bench.dialogs.pendingExpectations(), 0);
        EXPECT_EQ(bench.state.commAbort, c.abort);
        EXPECT_EQ(bench.port.writtenText().count("c0200"), int(c.answers.size()));
        const ScriptedDialogs::Box &box = bench.dialogs.shown().front();
        EXPECT_EQ(box.buttons, Dialogs::AbortRetryIgnore);
        EXPECT_EQ(box.text,
                  "Data in memory is for Logger:  Model T410-4UA,  Serial No.: 00041003\r\n"
                  "       The connected Logger is:  Model T410-8MC,  Serial No.: 00041002\r\n"
                  "ABORT   to return and reload the correct logger information."
                  "IGNORE to continue using incorrect logger information.");
    }
}
