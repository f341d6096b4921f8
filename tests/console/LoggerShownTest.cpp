#include "tests/console/LoggerWindowFixture.h"

#include "console/LoggerStatusView.h"
#include "console/frmComm.h"
#include "sim/LiveBlock.h"
#include "sim/LoggerPresets.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"
#include "ui_frmComm.h"

namespace {

void putText(LoggerImage &image, int address, const QByteArray &text)
{
    image.header.replace(address, 16, text.leftJustified(16, ' ', true));
}

// The finished test of the simulated logger, channels 1-4 and a monitor on
// channel 1: six words, twelve bytes a scan.
LoggerImage finished()
{
    return LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
}

// A finished logger whose live block puts the first status event at scan
// eventScan and the data at scan dataScan.
LoggerImage withEventAt(quint32 eventScan, quint32 dataScan)
{
    LoggerImage image = finished();
    LiveBlock::Event event = LiveBlock::event(image.header);
    event.channels = 4;
    event.pointer = 12 * eventScan;
    LiveBlock::setEvent(image.header, event);
    LiveBlock::Setup active = LiveBlock::setup(image.header, LiveBlock::ActiveLine);
    active.pointer = 12 * dataScan;
    LiveBlock::setSetup(image.header, LiveBlock::ActiveLine, active);
    return image;
}

} // namespace

// The main window with the simulated logger on its port, under virtual time,
// from Log On to the logger's figures on the Data Logger and Setup tabs.
class LoggerShown : public LoggerWindowFixture
{
protected:
    LoggerShown()
        : LoggerWindowFixture(finished())
    {
    }

    // Opens the window on the settings stored so far, logs on and lets the
    // new connection read the logger.
    void logOn()
    {
        openWindow();
        LoggerWindowFixture::logOn();
        ASSERT_TRUE(connection.header.headerValid);
    }
    // Another logger in place of the first, read as a new connection.
    void replug(const LoggerImage &image)
    {
        logger.unplug();
        settle();
        ASSERT_FALSE(connection.state.loggerConnected);
        logger.loadImage(image);
        logger.plugIn();
        settle();
        ASSERT_TRUE(connection.header.headerValid);
    }

    Ui::LoggerStatusView &view() { return window->statusView().ui(); }
};

TEST_F(LoggerShown, EventOccuredShowsTheEventDateAfterTheHeaderRead)
{
    // 1000 scans of 60 s set up from 2011 09 23 10:00:00; the event came
    // with 400 of them still to take, 600 scans (ten hours) in.
    LoggerImage image = finished();
    LiveBlock::Setup preset = LiveBlock::setup(image.header, LiveBlock::PresetLine);
    preset.scans = 1000;
    preset.period = 60;
    LiveBlock::setSetup(image.header, LiveBlock::PresetLine, preset);
    LiveBlock::Setup active = LiveBlock::setup(image.header, LiveBlock::ActiveLine);
    active.scans = 500;
    LiveBlock::setSetup(image.header, LiveBlock::ActiveLine, active);
    LiveBlock::Event event = LiveBlock::event(image.header);
    event.scans = 400;
    LiveBlock::setEvent(image.header, event);
    putText(image, 0x0430, "40809.416667" + image.header.mid(0x0430 + 12, 4));
    logger.loadImage(image);

    logOn();

    EXPECT_EQ(view().LblRdStartDate->text(), "2011 09 23 10:00:00");
    EXPECT_EQ(view().LblRdBattStopDate->text(), "2011 09 23 20:00:00");
    EXPECT_EQ(logger.statusByte() & 0x80, 0x80) << "read after the dump switch";
}

TEST_F(LoggerShown, HeaderSoftwareShowsTheHeaderAndTheInitializingVersions)
{
    LoggerImage image = finished();
    putText(image, 0x0490, "0758++++++++++++");
    logger.loadImage(image);

    logOn();

    EXPECT_EQ(view().LblRdHeaderVer->text(), "0762/0758");
}

TEST_F(LoggerShown, SetupTabKeepsTheStoredPeriodAndUnitAndOnlyTheLoggersChannels)
{
    startup.save("ScanPeriod", "15");
    startup.save("ScanPeriodUnit", "Sec");
    LoggerImage image = finished();
    // Three channels installed: the digit after the memory size in 0210.
    image.header[0x0210 + 14] = '3';
    logger.loadImage(image);

    logOn();

    QLabel *labels[] = {ui().lblActCh1, ui().lblActCh2, ui().lblActCh3, ui().lblActCh4,
                        ui().lblActCh5, ui().lblActCh6, ui().lblActCh7, ui().lblActCh8};
    QRadioButton *monitors[] = {ui().OptMonitorCh1, ui().OptMonitorCh2, ui().OptMonitorCh3,
                                ui().OptMonitorCh4, ui().OptMonitorCh5, ui().OptMonitorCh6,
                                ui().OptMonitorCh7, ui().OptMonitorCh8};
    for (int channel = 1; channel <= 8; ++channel) {
        EXPECT_EQ(labels[channel - 1]->isHidden(), channel > 3) << channel;
        EXPECT_EQ(monitors[channel - 1]->isHidden(), channel > 3) << channel;
    }
    // The logger's channel 4 is not one it has.
    EXPECT_EQ(window->setup().highestChannel, 3);
    EXPECT_EQ(window->setup().channelSelect[4], 0.0f);
    EXPECT_EQ(ui().TxtScanPeriod->text(), "15");
    EXPECT_TRUE(ui().OptSecs->isChecked());
    EXPECT_FALSE(ui().OptMins->isChecked());

    // The next header puts the stored period back over what the field holds.
    ui().TxtScanPeriod->setText("99");
    replug(finished());
    EXPECT_EQ(ui().TxtScanPeriod->text(), "15");
    EXPECT_TRUE(ui().OptSecs->isChecked());
    for (int channel = 1; channel <= 8; ++channel)
        EXPECT_FALSE(labels[channel - 1]->isHidden()) << "an eight-channel logger, channel " << channel;
}

TEST_F(LoggerShown, EventLinesCarryTheScanNumbersOfTheLoggerJustRead)
{
    logger.loadImage(withEventAt(16, 20));
    logOn();
    ASSERT_TRUE(connection.capture.eventLines().contains(
        "First event noted occured at scan number 16."));

    replug(withEventAt(7, 10));

    EXPECT_EQ(connection.capture.eventScanNumber(), 7);
    EXPECT_TRUE(connection.capture.eventLines().contains(
        "First event noted occured at scan number 7."))
        << connection.capture.eventLines().toStdString();
}

TEST_F(LoggerShown, ALostLoggerLeavesNoStatusByteLabelLit)
{
    logOn();
    Ui::frmComm &comm = window->comm().ui();
    QLabel *bits[] = {comm.lblSB1, comm.lblSB2, comm.lblSB3, comm.lblSB4,
                      comm.lblSB5, comm.lblSB6, comm.lblSB7};
    ASSERT_TRUE(comm.lblSB7->autoFillBackground()) << "dump output is on";

    logger.unplug();
    settle();

    ASSERT_FALSE(connection.state.loggerConnected);
    for (int bit = 1; bit <= 7; ++bit)
        EXPECT_FALSE(bits[bit - 1]->autoFillBackground()) << "lblSB" << bit;
}
