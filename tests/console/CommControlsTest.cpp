#include "tests/console/LoggerWindowFixture.h"

#include "console/frmComm.h"
#include "logger/FunctionsSubs.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"
#include "ui_frmComm.h"

#include <QSignalSpy>
#include <QTest>

// The communications window's link controls and the main window's clickable
// labels, on the simulated logger's finished test, read at Log On; both
// windows shown, as a technician has them.
class CommControls : public LoggerWindowFixture
{
protected:
    CommControls()
        : LoggerWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
        openWindow();
        window->show();
        window->comm().show();
    }

    Ui::frmComm &comm() { return window->comm().ui(); }
    // What the PC wrote for one click, the logger's answers let run.
    QString wireOf(QWidget *control)
    {
        port.forget();
        QTest::mouseClick(control, Qt::LeftButton);
        settle();
        return port.writtenText();
    }
};

TEST_F(CommControls, DebugBoxesCarryTheirCaptionsAndTooltipsAndStartUnticked)
{
    struct Case
    {
        QCheckBox *box;
        const char *caption;
        const char *tooltip;
    };
    const Case cases[] = {
        {comm().chkDebugprintRxdTxd, "MONITOR", "Prints contents of TXD and RXD boxes"},
        {comm().chkDebug, "Debug.Prt", "Enables debug.print statements"},
        {comm().chkDebugBeep, "Debug.Bp", "Enables beep on debug print statements."},
        {comm().chkEnableBeep, "Enable Beep", ""},
        {comm().chkSubSend, "SubSend", "Enables debug.print in SubSendMessage"},
        {comm().chkAutoPicInfo, "Auto Pic Info", ""},
        {comm().chkHalt, "Halt on error",
         "Click to force all errors to display and halt processing. Used for debugging "
         "communications issues. DEFAULT IS NOT CHECKED."},
        {comm().chkMSBfix, "Check for MSB Fix", "Check this for the MSB fix for downloaded data"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        EXPECT_EQ(c.box->text(), c.caption);
        EXPECT_EQ(c.box->toolTip(), c.tooltip);
        EXPECT_FALSE(c.box->isChecked());
    }
}

TEST_F(CommControls, NineThousandSixHundredBaudIsSelectedAtStart)
{
    EXPECT_TRUE(comm().OptBaud9600->isChecked());
    EXPECT_FALSE(comm().OptBaud115K->isChecked());
    EXPECT_EQ(port.writtenText(), "") << "showing the selection switches nothing";
}

TEST_F(CommControls, StatusByteButtonsAndSoftResetPutTheirCommandsOnTheWire)
{
    logOn();
    ASSERT_TRUE(state().loggerConnected);
    const quint8 before = logger.statusByte();
    ASSERT_EQ(before & 0x90, 0x80) << "finished, dump left on at Log On";
    struct Case
    {
        QPushButton *button;
        const char *caption;
        QString wire;
    };
    const Case cases[] = {
        {comm().cmdSBRead, "Read", "p|"},
        // Only the logging and dump bits of the last read survive a reset.
        {comm().cmdSBReset, "Reset", "q#80" + fnChecksum("#80") + "|"},
        {comm().cmdSBClear, "Clear", "q#0083|"},
        {comm().cmdSoftReset, "Soft Reset", "o|g|"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.button->text(), c.caption);
        EXPECT_EQ(c.button->accessibleName(), c.caption);
        EXPECT_EQ(wireOf(c.button), c.wire);
        EXPECT_FALSE(state().commAbort);
    }
    EXPECT_EQ(logger.statusByte(), 0) << "cleared last";
    EXPECT_EQ(comm().lblSBRead->text(), QString::number(before, 16).toUpper());
}

TEST_F(CommControls, LabelClicksActOnTheLink)
{
    logOn();
    struct Case
    {
        QLabel *label;
        bool connectedBefore;
        const char *wire;
    };
    const Case cases[] = {
        // The connection checked anew: a new connection, read from its first line.
        {ui().lblLgrStatus, true, "Ga0000|a0010|a0020|p|s|"},
        {comm().LblCTS, false, "Ga0000|a0010|a0020|p|s|"},
        // A logger already known: CTS ready confirms it, nothing is sent.
        {comm().LblCTS, true, ""},
        {ui().LblStatusLine, true, "p|"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label->objectName().toStdString() + (c.connectedBefore ? " known" : " unknown"));
        state().loggerConnected = c.connectedBefore;
        const QString wire = wireOf(c.label);
        if (QString(c.wire).isEmpty())
            EXPECT_EQ(wire, "");
        else
            EXPECT_TRUE(wire.startsWith(c.wire)) << wire.left(60).toStdString();
        EXPECT_TRUE(state().loggerConnected);
    }
}

TEST_F(CommControls, ClickedTextsAreBlankedAndRxdIsHandedOn)
{
    logOn();
    ASSERT_NE(comm().TxtTxd->text(), "");
    comm().lblCommStatus->setText("NEW CONNECTION!");
    QTest::mouseClick(comm().lblCommStatus, Qt::LeftButton);
    EXPECT_EQ(comm().lblCommStatus->text(), "");
    QTest::mouseClick(comm().TxtTxd, Qt::LeftButton);
    EXPECT_EQ(comm().TxtTxd->text(), "");

    const QString rxd = comm().LblRxd->text();
    ASSERT_NE(rxd, "");
    QSignalSpy handed(&window->comm(), &frmComm::LblRxdClicked);
    QTest::mouseClick(comm().LblRxd, Qt::LeftButton);
    ASSERT_EQ(handed.count(), 1);
    EXPECT_EQ(handed.at(0).at(0).toString(), rxd);
    EXPECT_EQ(comm().LblRxd->text(), "");
}

TEST_F(CommControls, ExitClosesTheCommunicationsWindow)
{
    EXPECT_EQ(comm().cmdClose->text(), "E&xit");
    EXPECT_EQ(comm().cmdClose->accessibleName(), "Exit");
    QTest::mouseClick(comm().cmdClose, Qt::LeftButton);
    EXPECT_FALSE(window->comm().isVisible());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(CommControls, UnpluggingZeroesAllThreeProgressBars)
{
    logOn();
    QProgressBar *bars[] = {ui().ProgressBar1, ui().ProgressBarData, ui().ProgressBarCal};
    for (QProgressBar *bar : bars) {
        bar->setRange(0, 100);
        bar->setValue(60);
    }
    logger.unplug();
    settle();
    ASSERT_FALSE(state().loggerConnected);
    for (QProgressBar *bar : bars)
        EXPECT_EQ(bar->value(), 0) << bar->objectName().toStdString();
}
