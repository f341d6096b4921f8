#include "tests/link/LinkBench.h"

#include "sim/VirtualEventLoop.h"
#include "tests/sim/SimWire.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
const QString MismatchTitle = QStringLiteral("fnReadHexDatae");

QString read(LineReader &reader, char letter, const QString &address)
{
    switch (letter) {
    case 'c':
        return reader.fnReadBinc(address);
    case 'a':
        return reader.fnReadHexHdra(address);
    default:
        return reader.fnReadHexDatae(address);
    }
}

QStringList readErrors(const QStringList &statusTexts)
{
    QStringList errors;
    for (const QString &text : statusTexts)
        if (text.contains("Read Error in "))
            errors.append(text);
    return errors;
}

QStringList numberedTries(const QString &prefix, int from, int to)
{
    QStringList texts;
    for (int i = from; i <= to; ++i)
        texts.append(prefix + QString::number(i));
    return texts;
}

struct Bench
{
    VirtualEventLoop loop;
    LinkBench link{loop, SimWire::minimalImage()};
    LineReader &reader() { return link.transport.lineReader(); }
};
} // namespace

TEST(LineReader, EachFormReturnsTheWholeCheckedLine)
{
    Bench b;
    const QString text = b.reader().fnReadBinc("0200");
    EXPECT_EQ(text, "c0200#SIMLOG0100004711" + fnChecksum("0200#SIMLOG0100004711"));
    const QString zeros = "0000#" + QString(32, '0');
    EXPECT_EQ(b.reader().fnReadHexHdra("0000"), "a" + zeros + fnChecksum(zeros));
    EXPECT_EQ(b.reader().fnReadHexDatae("000010"), "e000010#" + QString(32, 'F') + "04");
    EXPECT_FALSE(b.link.state.commAbort);
    EXPECT_EQ(b.link.port.written(), "c0200\ra0000\re000010\r");
    EXPECT_TRUE(readErrors(b.link.statusTexts).isEmpty());
    EXPECT_TRUE(b.link.dialogs.shown().empty());
}

TEST(LineReader, BadLinesAreTriedSixTimesWithTheirReasons)
{
    struct Case
    {
        const char *what;
        std::function<void(SimFaults &)> fault;
        char letter;
        QString address;
        QString status;
        int mismatchBoxes;
    };
    const int forever = SimFaults::Forever;
    const Case cases[] = {
        {"short text line", [=](SimFaults &f) { f.shortLines(forever); }, 'c', "0200",
         "Length =23/24 Read Error in fnReadBinc> C=c, fnReadBinc$(0200), Trys: ", 0},
        {"long header line", [=](SimFaults &f) { f.longLines(forever); }, 'a', "0000",
         "Length =41/40 Read Error in fnReadHexHdra> C=a, fnReadHexHdra$(0000), Trys: ", 0},
        // The checksum of an empty page-00 line is E3: lower case fails the text comparison.
        {"lower-case checksum", [=](SimFaults &f) { f.lowerCaseChecksums(forever); }, 'a', "0000",
         "CRC Read Error in fnReadHexHdra> C=a, fnReadHexHdra$(0000), Trys: ", 0},
        {"wrong checksum", [=](SimFaults &f) { f.wrongChecksums(forever); }, 'e', "000010",
         "CRC Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000010), Trys: ", 0},
        {"other data address", [=](SimFaults &f) { f.otherAddresses(forever); }, 'e', "000010",
         "Addr echo error: 000010/000020   Read Error in fnReadHexDatae> C=e, "
         "fnReadHexDatae$(000010), Trys: ", 6},
        {"other header address", [=](SimFaults &f) { f.otherAddresses(forever); }, 'c', "0200",
         "Addr echo error: 0200/0210#S   Read Error in fnReadBinc> C=c, fnReadBinc$(0200), Trys: ", 6},
    };
    for (const Case &c : cases) {
        Bench b;
        c.fault(b.link.logger.faults());
        b.link.dialogs.allow(MismatchTitle, Dialogs::Ok);
        const QString line = read(b.reader(), c.letter, c.address);

        EXPECT_EQ(line, "") << c.what;
        EXPECT_TRUE(b.link.state.commAbort) << c.what;
        EXPECT_EQ(b.link.state.stLastLine, "") << c.what;
        EXPECT_EQ(b.link.port.lettersWritten(c.letter), 6) << c.what;
        EXPECT_EQ(readErrors(b.link.statusTexts), numberedTries(c.status, 0, 5)) << c.what;
        EXPECT_EQ(b.link.dialogs.beeps(), 1) << c.what; // the final beep only
        EXPECT_EQ(int(b.link.dialogs.shown().size()), c.mismatchBoxes) << c.what;
        if (c.mismatchBoxes > 0) {
            EXPECT_EQ(b.link.dialogs.shown()[0].text, "115 KB address mismatch error at: " + c.address);
            EXPECT_EQ(b.link.dialogs.shown()[0].buttons, int(Dialogs::OkCancel));
        }
    }
}

TEST(LineReader, ALineThatComesRightOnALaterTryIsReturned)
{
    Bench b;
    b.link.switches.debugPrint = b.link.switches.debugBeep = true;
    b.link.logger.faults().shortLines(2);
    const QString line = b.reader().fnReadHexDatae("000010");
    EXPECT_EQ(line, "e000010#" + QString(32, 'F') + "04");
    EXPECT_FALSE(b.link.state.commAbort);
    EXPECT_EQ(b.link.port.lettersWritten('e'), 3);
    EXPECT_EQ(readErrors(b.link.statusTexts),
              numberedTries("Length =41/42 Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000010), Trys: ",
                            0, 1));
    EXPECT_EQ(b.link.dialogs.beeps(), 2);
    // The tries are 0.1 s apart.
    EXPECT_GT(b.loop.elapsedSeconds(), 0.2);
}

TEST(LineReader, AfterATransmitTimeOutOnlyTheHeaderHexReadGivesUpAtOnce)
{
    struct Case
    {
        char letter;
        QString address;
        int letters;
        QStringList statuses;
    };
    const Case cases[] = {
        {'a', "0000", 3,
         {"Length =0/40 Read Error in fnReadHexHdra> C=a, fnReadHexHdra$(0000), Trys: 0"}},
        {'c', "0200", 18,
         numberedTries("Length =0/24 Read Error in fnReadBinc> C=c, fnReadBinc$(0200), Trys: ", 0, 5)},
        {'e', "000010", 18,
         numberedTries("Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000010), Trys: ", 0, 5)},
    };
    for (const Case &c : cases) {
        Bench b;
        b.link.logger.faults().dropEchoes(SimFaults::Forever);
        EXPECT_EQ(read(b.reader(), c.letter, c.address), "") << c.letter;
        EXPECT_TRUE(b.link.state.commAbort) << c.letter;
        // Three attempts of the transport per try.
        EXPECT_EQ(b.link.port.lettersWritten(c.letter), c.letters) << c.letter;
        EXPECT_EQ(readErrors(b.link.statusTexts), c.statuses) << c.letter;
    }
}

TEST(LineReader, OnlyTheDataReadHaltsOnError)
{
    struct Case
    {
        const char *what;
        char letter;
        std::function<void(SimFaults &)> fault;
        QStringList boxes;
    };
    const Case cases[] = {
        {"short", 'e', [](SimFaults &f) { f.shortLines(1); },
         {"err-13..Short Data <42 Chars in fnreadhexdatae$"}},
        {"checksum", 'e', [](SimFaults &f) { f.wrongChecksums(1); }, {"err-14..CRC error in fnreadhexdatae$"}},
        {"address", 'e', [](SimFaults &f) { f.otherAddresses(1); },
         {"115 KB address mismatch error at: 000010", "err-15..Address mismatch in fnreadhexdatae$"}},
        {"long", 'e', [](SimFaults &f) { f.longLines(1); },
         {"err-07  Length =43/42 Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000010), Trys: 0"}},
        {"text line", 'c', [](SimFaults &f) { f.shortLines(1); }, {}},
        {"header line", 'a', [](SimFaults &f) { f.wrongChecksums(1); }, {}},
    };
    for (const Case &c : cases) {
        Bench b;
        b.link.switches.haltOnError = true;
        b.link.dialogs.allow(MismatchTitle, Dialogs::Ok);
        b.link.dialogs.allow("Halt on Error", Dialogs::Ok);
        c.fault(b.link.logger.faults());
        const QString address = c.letter == 'e' ? "000010" : "0200";
        EXPECT_FALSE(read(b.reader(), c.letter, address).isEmpty()) << c.what;

        QStringList texts;
        for (const ScriptedDialogs::Box &box : b.link.dialogs.shown())
            texts.append(box.text);
        EXPECT_EQ(texts, c.boxes) << c.what;
        EXPECT_EQ(b.link.switches.haltOnError, c.letter != 'e') << c.what;
    }
}

TEST(LineReader, DataReadFailuresAreTracedEvenWithoutMonitorTextReadsOnlyWithIt)
{
    for (const bool monitor : {false, true}) {
        Bench b;
        b.link.switches.monitor = monitor;
        b.link.logger.faults().wrongChecksums(1);
        b.reader().fnReadBinc("0200");
        b.link.logger.faults().wrongChecksums(1);
        b.reader().fnReadHexDatae("000010");
        const QString trace = b.link.trace.text();
        EXPECT_TRUE(trace.contains("CRC Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000010), Trys: 0\r\n"));
        EXPECT_EQ(trace.contains("CRC Read Error in fnReadBinc> C=c, fnReadBinc$(0200), Trys: 0\r\n"), monitor);
    }
}
