#include "console/LoggerStatusView.h"

#include "console/SetupState.h"
#include "link/LinkState.h"
#include "logger/EventCapture.h"
#include "logger/LoggerHeader.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui_LoggerStatusView.h"

#include <gtest/gtest.h>

namespace {

HexField number(quint32 value)
{
    return {QString::number(value, 16).toUpper().rightJustified(6, u'0'), value};
}

QColor background(const QLabel *label)
{
    return label->autoFillBackground() ? label->palette().color(QPalette::Window) : QColor();
}

// A finished test as the header read and the event capture leave it.
class StatusView : public testing::Test
{
protected:
    StatusView()
    {
        header.modelVersion = QStringLiteral("T410-8MC");
        header.serialNumber = QStringLiteral("00041002");
        header.headerVersion = QStringLiteral("0762");
        header.initHeaderVersion = QStringLiteral("0758");
        header.firmwareVersion = QStringLiteral("Z823");
        header.description = QStringLiteral("Pump station 7");
        header.memoryInstalled = 65536;
        header.startDate = QDateTime(QDate(2011, 9, 23), QTime(10, 0, 0));
        header.stopDate = QDateTime(QDate(2011, 9, 25), QTime(11, 40, 0));
        header.batteryDate = QDateTime(QDate(2011, 8, 1), QTime(9, 15, 30));
        header.scanPeriod = 60;
        header.lastDownloadTime = QString(16, u'x');
        header.lastDownloadFile = QString(32, u'x');
        live.preset.period = number(60);
        live.preset.scans = number(1000);
        live.eventScans = number(400);
        live.active.scans = number(500);
        live.active.pointer = number(3000);
        link.loggerConnected = true;
        setup.channelSelect[1] = SetupState::Selected;
        setup.channelSelect[3] = SetupState::Selected;
        view.setHooks({
            .selectTab = [this](int tab) { calls << QStringLiteral("tab %1").arg(tab); },
            .hideCalibrationWindow = [this] { calls << QStringLiteral("hide cal"); },
            .clearCalInterval = [this] { calls << QStringLiteral("cal interval"); },
            .subVerifyQtyActChs = [this] { calls << QStringLiteral("verify"); },
            .markChannelSelected = [this](int ch) { calls << QStringLiteral("Ch %1").arg(ch); },
            .setNumberActiveChannels = [this] { calls << QStringLiteral("count"); },
            .restoreScanPeriod = [this] { calls << QStringLiteral("period"); },
            .subMaxScans = [this] { calls << QStringLiteral("max scans"); },
            // Like the real switch, whose status byte read blanks "Event Occured".
            .subEnableDump =
                [this] {
                    calls << QStringLiteral("dump");
                    ui.LblRdBattStopDate->clear();
                },
            .eepromInvalid = [this] { return eepromInvalid; },
            .SubResetCommCommand = [this] { calls << QStringLiteral("reset"); },
        });
        QObject::connect(&view, &LoggerStatusView::batteryInstalledShown,
                         [this](const QString &text) { batteryShown = text; });
        QObject::connect(&view, &LoggerStatusView::memoryHexShown,
                         [this](const QString &text) { memoryHex = text; });
    }

    QString text(const QLabel *label) const { return label->text(); }

    LoggerHeader header;
    LiveBlockValues live;
    SetupState setup;
    LinkState link;
    ScriptedDialogs dialogs;
    LoggerStatusView view{{header, live, setup, link, dialogs}};
    Ui::LoggerStatusView &ui = view.ui();
    QStringList calls;
    bool eepromInvalid = false;
    QString batteryShown;
    QString memoryHex;
};

TEST_F(StatusView, ShowsTheLoggerAndPutsItsSetupBack)
{
    view.subLoggerPresent();

    EXPECT_EQ(text(ui.LblRdModelNum), QStringLiteral("T410-8MC"));
    EXPECT_EQ(text(ui.LblRdSerialNum), QStringLiteral("00041002"));
    EXPECT_EQ(text(ui.LblRdHeaderVer), QStringLiteral("0762/0758"));
    EXPECT_EQ(text(ui.LblRdFirmwareVer), QStringLiteral("Z823"));
    EXPECT_EQ(text(ui.LblRdProjID), QStringLiteral("Pump station 7"));
    EXPECT_EQ(text(ui.LblRdStartDate), QStringLiteral("2011 09 23 10:00:00"));
    EXPECT_EQ(text(ui.LblRdStopDate), QStringLiteral("2011 09 25 11:40:00"));
    EXPECT_EQ(text(ui.LblRdBattChg), QStringLiteral("2011 08 01 09:15"));
    EXPECT_EQ(batteryShown, QStringLiteral("2011 08 01 09:15"));
    EXPECT_EQ(text(ui.LblRdMemInst), QStringLiteral("65536"));
    EXPECT_EQ(memoryHex, QStringLiteral("010000h"));
    EXPECT_EQ(setup.memorySize, 65536);
    EXPECT_EQ(text(ui.LblRdMemAvail), QStringLiteral("500 / 1000 = 50.0%"));
    EXPECT_EQ(background(ui.LblRdMemAvail), LoggerStatusView::Green);
    EXPECT_EQ(calls, QStringList({"cal interval", "verify", "Ch 1", "Ch 3", "count", "period",
                                  "max scans", "tab 2", "dump"}));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(StatusView, EventTimeCountsThePresetPeriodsBeforeTheEvent)
{
    view.subLoggerPresent();
    EXPECT_EQ(text(ui.LblRdBattStopDate), QStringLiteral("2011 09 23 20:00:00"))
        << "shown after the dump switch";

    link.loggerConnected = false;
    live.eventScans = number(900);
    view.subLoggerPresent();
    EXPECT_EQ(text(ui.LblRdBattStopDate), QStringLiteral("2011 09 23 11:40:00"))
        << "filled without a logger too";
}

TEST_F(StatusView, WithoutALoggerOnlyTheWaitingTabIsShown)
{
    link.loggerConnected = false;
    ui.LblRdModelNum->setText(QStringLiteral("previous"));

    view.subLoggerPresent();

    EXPECT_EQ(calls, QStringList({"tab 1", "hide cal"}));
    EXPECT_EQ(text(ui.LblRdModelNum), QStringLiteral("previous"));
}

struct DownloadCase
{
    const char *name;
    QString time;
    QString status;
    QString shownTime;
    QColor colour;
};

void PrintTo(const DownloadCase &c, std::ostream *out)
{
    *out << c.name;
}

class DownloadState : public StatusView, public testing::WithParamInterface<DownloadCase>
{
};

TEST_P(DownloadState, TellsWhetherTheTestWasDownloaded)
{
    header.lastDownloadTime = GetParam().time;
    header.lastDownloadFile = QStringLiteral("00041002-20110925-1432 .CSV     ");

    view.subLoggerPresent();

    EXPECT_EQ(text(ui.LblRdDownloadStat), GetParam().status);
    EXPECT_EQ(text(ui.LblRdDownloadTime), GetParam().shownTime);
    EXPECT_EQ(background(ui.LblRdDownloadStat), GetParam().colour);
    EXPECT_EQ(background(ui.LblRdDownloadTime), GetParam().colour);
}

const QString FileLines =
    QStringLiteral("Download Filename:\r\n00041002-2011092\r\n5-1432 .CSV     ");

INSTANTIATE_TEST_SUITE_P(
    Times, DownloadState,
    testing::Values(DownloadCase{"NeverDownloaded", QString(16, u'x'), "NOT Downloaded", "",
                                 LoggerStatusView::Yellow},
                    DownloadCase{"Downloaded", "2011/09/25 14:32", FileLines, "2011/09/25 14:32",
                                 LoggerStatusView::Green},
                    DownloadCase{"ErasedMemory", QString(16, QChar(0xFF)), FileLines,
                                 QString(16, QChar(0xFF)), LoggerStatusView::Green}),
    [](const auto &info) { return std::string(info.param.name); });

struct PeriodCase
{
    quint32 seconds;
    const char *shown;
    QColor colour;
};

void PrintTo(const PeriodCase &c, std::ostream *out)
{
    *out << c.seconds << " s";
}

class SamplingPeriod : public StatusView, public testing::WithParamInterface<PeriodCase>
{
};

TEST_P(SamplingPeriod, IsShownAsATimeAndMarkedWhenShort)
{
    header.scanPeriod = GetParam().seconds;
    view.subLoggerPresent();
    EXPECT_EQ(text(ui.LblRdSamplePeriod), QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(background(ui.LblRdSamplePeriod), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(Periods, SamplingPeriod,
                         testing::Values(PeriodCase{3, "00:00:03", LoggerStatusView::Red},
                                         PeriodCase{5, "00:00:05", LoggerStatusView::Yellow},
                                         PeriodCase{7, "00:00:07", LoggerStatusView::Yellow},
                                         PeriodCase{10, "00:00:10", LoggerStatusView::LightBlue},
                                         PeriodCase{60, "00:01:00", LoggerStatusView::LightBlue},
                                         PeriodCase{3600, "01:00:00", LoggerStatusView::LightBlue}),
                         [](const testing::TestParamInfo<PeriodCase> &info) {
                             return "Seconds" + std::to_string(info.param.seconds);
                         });

struct MemoryCase
{
    quint32 active;
    quint32 preset;
    const char *shown;
    QColor colour;
};

void PrintTo(const MemoryCase &c, std::ostream *out)
{
    *out << c.shown;
}

class MemoryAvailable : public StatusView, public testing::WithParamInterface<MemoryCase>
{
};

TEST_P(MemoryAvailable, ShowsTheScansLeftAndWarnsWhenFew)
{
    live.active.scans = number(GetParam().active);
    live.preset.scans = number(GetParam().preset);
    view.subLoggerPresent();
    EXPECT_EQ(text(ui.LblRdMemAvail), QString::fromLatin1(GetParam().shown));
    EXPECT_EQ(background(ui.LblRdMemAvail), GetParam().colour);
}

INSTANTIATE_TEST_SUITE_P(
    Scans, MemoryAvailable,
    testing::Values(MemoryCase{50, 1000, "50 / 1000 = 5.0%", LoggerStatusView::Yellow},
                    MemoryCase{0, 1000, "0 / 1000 = 0.0%", LoggerStatusView::Red},
                    MemoryCase{1, 1000, "1 / 1000 = 0.0%", LoggerStatusView::Yellow},
                    MemoryCase{100, 1000, "100 / 1000 = 10.0%", LoggerStatusView::Green},
                    MemoryCase{100, 0, "100 / 4096 = 2.0%", LoggerStatusView::Yellow}),
    [](const testing::TestParamInfo<MemoryCase> &info) {
        return "Active" + std::to_string(info.param.active) + "Of" + std::to_string(info.param.preset);
    });

TEST_F(StatusView, AMemorySizeOfZeroIsTakenFromTheDataPointer)
{
    header.memoryInstalled = 0;
    view.subLoggerPresent();
    EXPECT_EQ(text(ui.LblRdMemInst), QStringLiteral("0"));
    EXPECT_EQ(setup.memorySize, 3010);
}

TEST_F(StatusView, InvalidEepromIsReportedAfterEverythingIsShown)
{
    eepromInvalid = true;
    dialogs.expect(QStringLiteral("Invalid EEPROM"));

    view.subLoggerPresent();

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("Error in reading eeprom, Logger may not be intialized. Contact "
                             "factory for assistance if this error repeats after initializing "
                             "logger."));
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::OkOnly);
    EXPECT_EQ(text(ui.LblRdModelNum), QStringLiteral("T410-8MC"));
    EXPECT_EQ(calls.last(), QStringLiteral("dump"));
}

TEST_F(StatusView, ANewConnectionBlanksTheFiguresUntilTheHeaderIsRead)
{
    view.subLoggerPresent();
    view.showHeaderNotRead();
    EXPECT_EQ(text(ui.LblRdModelNum), QString());
    EXPECT_EQ(background(ui.LblRdSamplePeriod), QColor());
    EXPECT_EQ(text(ui.lblHeaderMessage1) + text(ui.lblHeaderMessage2) + text(ui.lblHeaderMessage3),
              QStringLiteral("HEADER NOT READAll Displaysare Invalid!"));

    view.subLoggerPresent();
    EXPECT_EQ(text(ui.lblHeaderMessage1), QString());
    EXPECT_EQ(text(ui.LblRdModelNum), QStringLiteral("T410-8MC"));
}

TEST_F(StatusView, ReloadResetsTheLink)
{
    view.cmdLgrStatus_Click();
    EXPECT_EQ(calls, QStringList({"reset"}));
}

} // namespace
