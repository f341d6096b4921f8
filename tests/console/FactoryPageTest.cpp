#include "tests/console/LoggerWindowFixture.h"

#include "console/FactoryPage.h"
#include "console/frmComm.h"
#include "sim/LoggerPresets.h"
#include "tests/support/QStringPrinter.h"
#include "ui_FactoryPage.h"
#include "ui_FrmStartup.h"
#include "ui_frmComm.h"

#include <QFile>
#include <QTest>

namespace {

LoggerImage finished()
{
    return LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
}

} // namespace

// The factory page of the communications window, driven as a technician
// does, on the simulated logger.
class FactoryPageTest : public LoggerWindowFixture
{
protected:
    FactoryPageTest()
        : LoggerWindowFixture(finished())
    {
        openWindow();
        logOn();
        port.forget();
    }

    Ui::FactoryPage &page() { return window->comm().factoryPage().ui(); }
    QByteArray header(int address, int length) const { return logger.image().header.mid(address, length); }
    void type(QLineEdit *field, const QString &text)
    {
        field->clear();
        QTest::keyClicks(field, text);
    }
};

TEST_F(FactoryPageTest, ShowsTheLoggerReadAtTheConnection)
{
    const LoggerHeader &h = connection.header;
    EXPECT_EQ(page().txtHdrSerial->text(), h.serialNumber);
    EXPECT_EQ(page().txtModVersion->text(), h.modelVersion);
    EXPECT_EQ(page().lstHdrModel->currentItem()->text(), h.modelVersion);
    EXPECT_EQ(page().txtMemInstalled->text(), QString::number(h.memoryInstalled));
    EXPECT_EQ(page().lblMemoryHex->text(), h.memoryInstalledHex + QStringLiteral("h"));
    EXPECT_EQ(page().lstChips->currentRow(), h.memoryChips - 1);
    EXPECT_EQ(page().lstMemoryType->currentRow(), h.memoryTypeCode);
    EXPECT_EQ(page().txtHdrHeaderVer->text(), h.headerVersion);
    EXPECT_EQ(page().txtEEProm->text(), connection.capture.values().eepromMarker.hex);
    EXPECT_EQ(page().lblFirstLines->text().count(u'\n'), 2) << "three first lines";
    EXPECT_EQ(page().lblStatusAtConnection->text(), connection.statusByte.statusText());
    EXPECT_EQ(page().txtReadAddr->text(), QStringLiteral("0000"));
    EXPECT_EQ(page().txtReadData->text(), QStringLiteral("000000"));
}

TEST_F(FactoryPageTest, NextReadsTheLineSixteenBytesOn)
{
    type(page().txtReadAddr, QStringLiteral("0FF0"));
    page().CmdReadNext->click();
    EXPECT_EQ(page().txtReadAddr->text(), QStringLiteral("1000"));
    EXPECT_TRUE(port.writtenText().startsWith(QStringLiteral("c1000|")));

    port.forget();
    type(page().txtReadData, QStringLiteral("00FFF0"));
    page().cmdReadNextData->click();
    EXPECT_EQ(page().txtReadData->text(), QStringLiteral("010000"));
    EXPECT_TRUE(port.writtenText().startsWith(QStringLiteral("e010000|")));
}

TEST_F(FactoryPageTest, TheNotesTypedAreWrittenAndReadBack)
{
    page().txtHeaderNotes->setPlainText(QString());
    QTest::keyClicks(page().txtHeaderNotes, QStringLiteral("Checked"));
    QTest::keyClick(page().txtHeaderNotes, Qt::Key_Return);
    QTest::keyClicks(page().txtHeaderNotes, QStringLiteral("by JS"));
    page().cmdWriteHeaderNotes->click();
    EXPECT_EQ(header(0x0E00, 16), QByteArray("Checked@@by JS^^"));

    page().txtHeaderNotes->clear();
    page().cmdReadHeader->click();
    EXPECT_EQ(page().txtHeaderNotes->toPlainText(), QStringLiteral("Checked\nby JS"));
}

// The trip levels are written from the fields as typed, and the battery
// limit typed is the one the header read takes for the download.
TEST_F(FactoryPageTest, TripLevelsAreWrittenFromTheTypedFields)
{
    type(page().txtVrefLOvolts, QStringLiteral("0.116"));
    type(page().txtVrefHIvolts, QStringLiteral("3.00"));
    type(page().txtVbatLimit, QStringLiteral("6.5"));
    type(page().txtVrawLimit, QStringLiteral("7"));
    type(page().txtV1Settle, QStringLiteral("100"));
    type(page().txtV2Settle, QStringLiteral("200"));
    page().cmdWriteTripLevels->click();
    EXPECT_TRUE(port.writtenText().contains(QStringLiteral("b0050#")));
    EXPECT_EQ(QByteArray(header(0x0050, 16).toHex().toUpper()).mid(8, 6), QByteArray("000064"))
        << "settle 1 as typed";

    page().cmdReadHeader->click();
    page().cmdReadHeader->click();
    EXPECT_DOUBLE_EQ(connection.headerReader.batteryLimits().limit, 6.5);
    EXPECT_EQ(page().txtVbatLimit->text(), QStringLiteral("6.5")) << "a header read keeps the limits typed";
}

// Read 0010, then the reply clicked over into the text to send.
TEST_F(FactoryPageTest, TheReplyOfAFixedReadCanBeSentBack)
{
    page().cmdRead0010->click();
    settle(1);
    const QString received = window->comm().ui().LblRxd->text();
    ASSERT_TRUE(received.contains(QStringLiteral("0010")));
    EXPECT_TRUE(port.writtenText().startsWith(QStringLiteral("a0010|")));

    QTest::mouseClick(window->comm().ui().LblRxd, Qt::LeftButton);
    EXPECT_EQ(page().TxtTexttoSend->text(), received);
    EXPECT_TRUE(window->comm().ui().LblRxd->text().isEmpty());
}

TEST_F(FactoryPageTest, ALostLoggerBlanksThePage)
{
    page().TxtTexttoSend->setText(QStringLiteral("typed"));
    logger.unplug();
    settle(10);
    for (QLineEdit *field : {page().txtHdrSerial, page().txtModVersion, page().txtMemInstalled,
                             page().txtEEProm, page().txtReadAddr, page().TxtTexttoSend})
        EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
    EXPECT_TRUE(page().lblMemoryHex->text().isEmpty());
    EXPECT_TRUE(page().txtHeaderNotes->toPlainText().isEmpty());
    EXPECT_EQ(page().lstChips->currentRow(), -1);
    EXPECT_EQ(page().lstMemoryType->currentRow(), -1);
}

TEST_F(FactoryPageTest, TheCommunicationsWindowFitsALaptopScreen)
{
    const QSize minimum = window->comm().minimumSizeHint();
    EXPECT_LE(minimum.width(), 1366);
    EXPECT_LE(minimum.height(), 700);
}

// The factory page's memory tests report on the page itself.
TEST_F(FactoryPageTest, TheHeaderMemoryTestLeavesTheHeaderAsItWas)
{
    const QByteArray before = logger.image().header;
    dialogs.expect(QStringLiteral("Header Memory Test"));
    page().cmdChkHdrMem->click();
    EXPECT_EQ(page().lblMemTestResult->text(), QStringLiteral("HEADER GOOD"));
    EXPECT_EQ(logger.image().header.mid(0x0200), before.mid(0x0200));
    EXPECT_EQ(port.lettersWritten('d'), 4 * 208);
}

TEST_F(FactoryPageTest, TheShortTestButtonEndsADataTestEarly)
{
    // Pressed while the test runs, after its first line.
    bool pressed = false;
    logger.setMemoryChangedHandler([this, &pressed] {
        if (!pressed && port.lettersWritten('f') == 3) {
            pressed = true;
            loop.post([this] { page().cmdShortTest->click(); });
        }
    });
    page().cmdChkDataMemQuick->click();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(page().lblMemTestResult->text(), QStringLiteral("DATA GOOD"));
    // One line at the top, then every 128 bytes from 000200 down.
    EXPECT_EQ(port.lettersWritten('f'), 3 + 3 * 5);
}

// The Help tab's header file buttons forward to the factory page's.
TEST_F(FactoryPageTest, TheMainWindowSavesTheHeaderToAFile)
{
    const QString path = dir.filePath(QStringLiteral("saved.txt"));
    dialogs.expectFileName(path);
    dialogs.expect(QStringLiteral("Data Save Complete"));
    ui().cmdSaveHeaderFile->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\"Logger Header Data\"\r\n\"0000\",\""));
}
