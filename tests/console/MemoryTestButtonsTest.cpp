#include "tests/console/LoggerWindowFixture.h"

#include "console/MainTab.h"
#include "console/MemoryTestButtons.h"
#include "sim/LoggerPresets.h"
#include "tests/support/QStringPrinter.h"
#include "ui_FrmStartup.h"

#include <QTest>
#include <functional>

namespace {

const QString Warning = QStringLiteral("Memory Test");

LoggerImage smallLogger()
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Finished, VirtualEventLoop().now());
    LoggerPresets::setDataMemory(image, 1, 0); // 16 KiB: a short test
    return image;
}

// The Help tab's memory test buttons on a shown window with a 16 KiB logger.
class MemoryTestButtonsTest : public LoggerWindowFixture
{
protected:
    MemoryTestButtonsTest() : LoggerWindowFixture(smallLogger()) {}

    void SetUp() override
    {
        openWindow();
        logOn();
        ui().SSTab1->setCurrentIndex(MainTab::Help);
        port.forget();
    }

    QStringList dataLines() const
    {
        QStringList lines;
        for (const QString &message : port.writtenText().split(u'|'))
            if (message.startsWith(u'f') && !lines.contains(message.mid(1, 6)))
                lines << message.mid(1, 6);
        return lines;
    }
};

} // namespace

// Both start buttons warn first; Cancel sends nothing to the logger.
TEST_F(MemoryTestButtonsTest, CancelAtTheWarningWritesNothing)
{
    for (QPushButton *button : {ui().cmdQuickMemTest, ui().cmdLongMemTest}) {
        dialogs.expect(Warning, Dialogs::Cancel);
        button->click();
        EXPECT_TRUE(port.written().isEmpty()) << button->text().toStdString();
        ASSERT_FALSE(dialogs.shown().empty());
        const ScriptedDialogs::Box &box = dialogs.shown().back();
        EXPECT_EQ(box.text, QStringLiteral("THIS WILL DESTROY ANY TEST DATA!\r\nHave you downloaded?\r\n"
                                           "OK to continue Test, Cancel to abort"));
        EXPECT_EQ(box.buttons, int(Dialogs::OkCancel));
    }
}

// OK runs the quick test to its end; the status label shows the result.
TEST_F(MemoryTestButtonsTest, OkRunsTheQuickTest)
{
    dialogs.expect(Warning, Dialogs::Ok);
    ui().cmdQuickMemTest->click();
    EXPECT_EQ(dataLines().size(), 128);
    EXPECT_EQ(dataLines().first(), QStringLiteral("003FE0"));
    EXPECT_EQ(ui().lblMemCheck->text(), QStringLiteral("DATA GOOD"));
    EXPECT_TRUE(ui().cmdQuickMemTest->isEnabled());
}

// The Shorten button and a double-click on the status label both let the
// running test go on from 512.
TEST_F(MemoryTestButtonsTest, ShortenByButtonOrLabel)
{
    const std::function<void()> shorten[] = {
        [this] { ui().cmdShortMemTest->click(); },
        [this] { QTest::mouseDClick(ui().lblMemCheck, Qt::LeftButton); },
    };
    for (const auto &press : shorten) {
        port.forget();
        const QMetaObject::Connection once = QObject::connect(
            &window->memoryTests().display(), &MemoryTestDisplay::lineTested, [&](const QString &address) {
                if (address == QLatin1String("003EE0"))
                    press();
            });
        dialogs.expect(Warning, Dialogs::Ok);
        ui().cmdQuickMemTest->click();
        QObject::disconnect(once);
        EXPECT_EQ(dataLines(), QStringList({"003FE0", "003F60", "003EE0", "000200", "000180", "000100", "000080",
                                            "000000"}));
    }
}
