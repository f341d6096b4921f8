#include "tests/console/LoggerWindowFixture.h"

#include "console/frmComm.h"
#include "console/frmDebugPrint.h"
#include "link/LineReader.h"
#include "logger/FunctionsSubs.h"
#include "sim/LoggerPresets.h"
#include "ui_frmComm.h"
#include "ui_frmDebugPrint.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>

// The trace window beside the communications window, on the simulated
// logger's finished test, read at Log On.
class TraceWindow : public LoggerWindowFixture
{
protected:
    TraceWindow()
        : LoggerWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
        openWindow();
        logOn();
        window->comm().show();
    }

    Ui::frmComm &comm() { return window->comm().ui(); }
    frmDebugPrint &traceWindow() { return window->debugPrint(); }
    QString box() { return traceWindow().ui().txtDebugPrint->toPlainText(); }
    void monitor(bool on)
    {
        if (comm().chkDebugprintRxdTxd->isChecked() != on)
            QTest::mouseClick(comm().chkDebugprintRxdTxd, Qt::LeftButton);
        ASSERT_EQ(comm().chkDebugprintRxdTxd->isChecked(), on);
    }
    // The "a" reply line for a header address, as the logger sends it.
    QString headerReply(int address)
    {
        const QString body = QString::number(address, 16).toUpper().rightJustified(4, u'0') + u'#'
            + QString::fromLatin1(logger.image().header.mid(address, 16).toHex().toUpper());
        return u'a' + body + fnChecksum(body);
    }
    // ABORT is clicked once the PC has sent a data line read for 000000: the
    // click comes while that read waits for its reply.
    void abortTheFirstDataRead()
    {
        port.forget();
        port.setWriteObserver([this] {
            if (!port.writtenText().contains("e000000|"))
                return;
            loop.post([this] { QTest::mouseClick(comm().LblAbort, Qt::LeftButton); });
            port.setWriteObserver({}); // destroys this very function: last
        });
    }
};

TEST_F(TraceWindow, MonitorShowsTheWindowAndTracesOneHeaderReadAsOneLine)
{
    EXPECT_FALSE(traceWindow().isVisible());
    EXPECT_EQ(traceWindow().windowTitle(), "Debug Print (shows Txd and Rxd strings only)");
    monitor(true);
    EXPECT_TRUE(connection.switches.monitor);
    EXPECT_TRUE(traceWindow().isVisible());
    EXPECT_EQ(box(), "");
    QTest::mouseClick(traceWindow().ui().cmdClear, Qt::LeftButton);

    const QString reply = headerReply(0x0010);
    ASSERT_EQ(reply.size(), 40);
    EXPECT_EQ(connection.transport.lineReader().fnReadHexHdra("0010"), reply);

    const QString line = "a0010[cr]_________________________________________" + reply
        + "[cr]______";
    EXPECT_EQ(connection.trace.text(), line + "\r\n");
    EXPECT_EQ(box(), line);

    monitor(false);
    EXPECT_FALSE(connection.switches.monitor);
    EXPECT_FALSE(traceWindow().isVisible());
    EXPECT_EQ(box(), "");
    EXPECT_EQ(connection.trace.text(), line + "\r\n") << "unticking keeps the trace";
}

TEST_F(TraceWindow, ErrorLineWithMonitorOffShowsWhenTheTraceIsShownNext)
{
    QTest::mouseClick(traceWindow().ui().cmdClear, Qt::LeftButton);
    abortTheFirstDataRead();
    connection.transport.lineReader().fnReadHexDatae("000000");
    const QStringList errors = connection.trace.text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 3) << connection.trace.text().toStdString();
    EXPECT_EQ(errors[0], "Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000000), Trys: 0");

    monitor(true);
    EXPECT_EQ(box(), "") << "the window opens blank";
    connection.transport.lineReader().fnReadHexHdra("0010");
    const QStringList shown = box().split('\n');
    ASSERT_EQ(shown.size(), 4);
    EXPECT_TRUE(shown[0].startsWith("a0010[cr]___")) << shown[0].toStdString();
    EXPECT_EQ(shown.mid(1), errors);
}

TEST_F(TraceWindow, AbortDuringASixTryReadEndsTheWaitAndCountsAFailedTry)
{
    abortTheFirstDataRead();
    const QString line = connection.transport.lineReader().fnReadHexDatae("000000");

    EXPECT_EQ(line.left(8), "e000000#");
    EXPECT_EQ(line.size(), 42) << "the second try reads the line";
    EXPECT_FALSE(state().commAbort);
    EXPECT_EQ(port.writtenText().count("e000000|"), 2) << port.writtenText().toStdString();
    EXPECT_TRUE(connection.trace.text().startsWith(
        "Read Error in fnReadHexDatae> C=e, fnReadHexDatae$(000000), Trys: 0\r\n"))
        << connection.trace.text().toStdString();
}

TEST_F(TraceWindow, ClearBoxEmptiesTheTraceAndTheBox)
{
    monitor(true);
    connection.transport.lineReader().fnReadHexHdra("0010");
    ASSERT_NE(box(), "");
    EXPECT_EQ(traceWindow().ui().cmdClear->text(), "Clear Box");
    EXPECT_EQ(traceWindow().ui().cmdClear->toolTip(), "Click to clear text from box.");
    QTest::mouseClick(traceWindow().ui().cmdClear, Qt::LeftButton);
    EXPECT_EQ(box(), "");
    EXPECT_EQ(connection.trace.text(), "");
    EXPECT_TRUE(traceWindow().ui().txtDebugPrint->isReadOnly());
    EXPECT_TRUE(QFontInfo(traceWindow().ui().txtDebugPrint->font()).fixedPitch());
}

TEST_F(TraceWindow, SaveWritesTheWholeTraceToATextFile)
{
    monitor(true);
    connection.transport.lineReader().fnReadHexHdra("0010");
    connection.transport.lineReader().fnReadHexHdra("0020");
    const QString data = dir.filePath("data");
    struct Case
    {
        QString chosen;
        QString written;
        bool fails;
    };
    const Case cases[] = {
        {data + "/fault", data + "/fault.txt", false},
        {data + "/fault.log", data + "/fault.log", false},
        {"", "", false},
        {data + "/no such folder/fault.txt", "", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        dialogs.expectFileName(c.chosen);
        if (c.fails)
            dialogs.expect("Save Trace");
        QTest::mouseClick(traceWindow().ui().cmdSave, Qt::LeftButton);
        EXPECT_EQ(dialogs.fileDialogs().back().title, "Save Trace");
        EXPECT_TRUE(dialogs.fileDialogs().back().folder.startsWith(data + "/Trace-"));
        if (c.written.isEmpty())
            continue;
        QFile file(c.written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), connection.trace.text().toUtf8());
    }
    EXPECT_EQ(QDir(data).entryList({"*.txt", "*.log"}), QStringList({"fault.log", "fault.txt"}));
    EXPECT_EQ(dialogs.pendingExpectations(), 0);
}

TEST_F(TraceWindow, TheBoxStaysWithinTheTracesBoundWithTheNewestLineOnTop)
{
    monitor(true);
    const QString line(998, 'x'); // 1000 characters with CR LF
    const int lines = int(Trace::MaxChars / 1000) * 2;
    for (int i = 0; i < lines; ++i)
        connection.trace.subDebugPrintERR(line.left(990) + QString::number(i).rightJustified(8, u'0'));
    QTextDocument *document = traceWindow().ui().txtDebugPrint->document();
    EXPECT_LE(document->characterCount(), Trace::MaxChars + Trace::MaxChars / 8);
    EXPECT_TRUE(box().startsWith(line.left(990) + QString::number(lines - 1).rightJustified(8, u'0') + "\n"));
    EXPECT_LE(connection.trace.text().size(), Trace::MaxChars);
}
