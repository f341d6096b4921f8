#include "calibration/CalDataTab.h"
#include "calibration/CalibrationLog.h"
#include "console/MainTab.h"
#include "sim/LoggerPresets.h"
#include "tests/calibration/CalWindowFixture.h"
#include "tests/support/QStringPrinter.h"
#include "ui_FrmStartup.h"

#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

class CalibrationScenarioTest : public CalWindowFixture
{
protected:
    CalibrationScenarioTest()
        : CalWindowFixture(LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now()))
    {
    }
};

} // namespace

// A technician calibrates channel 2 from the Cal Data tab: password, the
// window on channel 2, two points typed, computed and saved. After the
// logger is plugged in again its header, the grid and the calibration log
// hold the new slope and offset.
TEST_F(CalibrationScenarioTest, CalibrateChannelTwoAndReconnect)
{
    openWindow();
    logOn();
    ASSERT_TRUE(connection.header.headerValid);
    ui().SSTab1->setCurrentIndex(MainTab::CalData);
    const ChannelCalRecord before = connection.header.channel[1];

    int windows = 0;
    dialogs.onModal([this, &windows](QObject *object) {
        ++windows;
        if (auto *prompt = qobject_cast<QDialog *>(object); prompt && object != &cal()) {
            prompt->show();
            QTest::keyClicks(prompt->findChild<QLineEdit *>(QStringLiteral("txtPassword")), QStringLiteral("qqq"));
            prompt->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
            prompt->hide();
            return prompt->result();
        }
        EXPECT_EQ(calUi().TxtSensorNum->text(), QStringLiteral("2"));
        const std::pair<int, const char *> values[] = {
            {7, "400"}, {8, "0"}, {9, "0"}, {10, "1000"}, {11, "3600"}, {12, "200"},
            {13, "200"}, {16, "1000"}, {17, "0"}, {18, "1"}, {2, "2027/06/30"},
        };
        for (auto [field, text] : values)
            type(field, QLatin1String(text));
        dialogs.allow(FrmCalRoutine::ComputeTitle);
        calUi().CmdComputeCalFactors->click();
        EXPECT_EQ(box(19)->text(), QStringLiteral("0.0625"));
        EXPECT_EQ(box(20)->text(), QStringLiteral("-25"));
        calUi().CmdSave->click();
        return cal().result();
    });
    window->calData().MFGCal_DblClick(2);
    EXPECT_EQ(windows, 2);

    logger.unplug();
    settle(10);
    logger.plugIn();
    settle(30);
    ASSERT_TRUE(connection.header.headerValid);
    const ChannelCalRecord &after = connection.header.channel[1];
    EXPECT_EQ(after.slope.text, QStringLiteral("+6.25000E-02"));
    EXPECT_EQ(after.offset.text, QStringLiteral("-2.50000E+01"));
    EXPECT_EQ(after.calDue, QStringLiteral("2027/06/30"));

    ui().SSTab1->setCurrentIndex(MainTab::CalData);
    EXPECT_EQ(ui().MFGCal->item(2, 3)->text(), QStringLiteral("+6.25000E-02"));
    EXPECT_EQ(ui().MFGCal->item(2, 4)->text(), QStringLiteral("-2.50000E+01"));
    EXPECT_EQ(ui().MFGCal->item(2, 7)->text(), QStringLiteral("2027-06-30"));

    QFile log(dir.filePath(QStringLiteral("data/")) + CalibrationLog::fileName());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], CalibrationLog::headerLine());
    // Channel 2 of this logger, the slope and offset before and as written.
    const QStringList cells = lines[1].split(u',');
    ASSERT_EQ(cells.size(), 15);
    EXPECT_EQ(cells[1], QStringLiteral("\"00041002\""));
    EXPECT_EQ(cells[2], QStringLiteral("2"));
    EXPECT_EQ(cells[9], before.slope.text.trimmed());
    EXPECT_EQ(cells[10], QStringLiteral("+6.25000E-02"));
    EXPECT_EQ(cells[12], QStringLiteral("-2.50000E+01"));
}
