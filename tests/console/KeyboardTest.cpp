#include "console/MainTab.h"
#include "tests/console/MainWindowFixture.h"

#include "console/IndicatorPainter.h"
#include "console/frmComm.h"
#include "ui_frmComm.h"

#include <QAccessible>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// A button's shortcut click comes after a short animation; the loop runs until it has.
bool eventually(const std::function<bool()> &done)
{
    for (int i = 0; i < 200 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

// Runs the application's event loop until the program asks to end, or gives
// up; returns the loop's exit code (99 when nothing ended it).
int runUntilQuit(const std::function<void()> &action)
{
    QTimer::singleShot(0, action);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    giveUp.start(5000);
    return QCoreApplication::exec();
}

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

QColor background(const QLabel *label)
{
    return label->palette().color(QPalette::Window);
}

} // namespace

class Keyboard : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        loadConfigured();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void logOn() { window->ui().CmdLogOn->click(); }
};

TEST_F(Keyboard, CommandButtonsCarryAcceleratorsAndTheirPlainCaptionAsName)
{
    struct Case
    {
        QAbstractButton *button;
        const char *caption;
        const char *name;
        QKeySequence key;
    };
    Ui::FrmStartup &ui = window->ui();
    const Case cases[] = {
        {ui.CmdLogOn, "&Log On", "Log On", QKeySequence(Qt::ALT | Qt::Key_L)},
        {ui.CmdExit, "E&xit", "Exit", QKeySequence(Qt::ALT | Qt::Key_X)},
        {ui.cmdLgrStatus, "&Reload/Reset", "Reload/Reset", QKeySequence(Qt::ALT | Qt::Key_R)},
        {ui.CmdDownload, "&Download", "Download", QKeySequence(Qt::ALT | Qt::Key_D)},
        {ui.CmdInitialize, "&Initialize Logger", "Initialize Logger", QKeySequence(Qt::ALT | Qt::Key_I)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button->objectName().toStdString());
        EXPECT_EQ(c.button->text(), c.caption);
        EXPECT_EQ(c.button->shortcut(), c.key);
        EXPECT_EQ(c.button->accessibleName(), c.name);
        EXPECT_EQ(accessibleName(c.button), c.name);
    }
}

TEST_F(Keyboard, AltLLogsOnAndAltRReloads)
{
    QTest::keyClick(window.get(), Qt::Key_L, Qt::AltModifier);
    ASSERT_TRUE(eventually([&] { return window->state().loggedOn; }));
    EXPECT_EQ(port.openCount, 1);
    EXPECT_EQ(window->ui().SSTab1->currentIndex(), int(MainTab::DataLogger));

    QTest::keyClick(window.get(), Qt::Key_R, Qt::AltModifier);
    EXPECT_TRUE(eventually([&] { return port.openCount == 2; }))
        << "Reload resets the link, which opens the port again";
}

TEST_F(Keyboard, CtrlQAndAltXEndTheProgram)
{
    const std::pair<const char *, QKeyCombination> keys[] = {
        {"Ctrl+Q", Qt::CTRL | Qt::Key_Q},
        {"Alt+X", Qt::ALT | Qt::Key_X},
    };
    for (const auto &[name, key] : keys) {
        SCOPED_TRACE(name);
        const int code = runUntilQuit(
            [&, key = key] { QTest::keyClick(window.get(), key.key(), key.keyboardModifiers()); });
        EXPECT_EQ(code, 0);
    }
}

TEST_F(Keyboard, F1OpensHelp)
{
    dialogs.expect(QCoreApplication::applicationName());
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Unable to display Help Contents. There is no Help associated with this project.");
}

TEST_F(Keyboard, SpaceAndEnterOnAChannelLabelSelectItAsAClickDoes)
{
    logOn();
    window->ui().SSTab1->setCurrentIndex(MainTab::Setup);
    QLabel *channel3 = window->ui().lblActCh3;
    EXPECT_EQ(channel3->focusPolicy(), Qt::StrongFocus) << "reached with Tab";
    ASSERT_EQ(window->setup().channelSelect[3], 0.0f);

    QTest::keyClick(channel3, Qt::Key_Space);
    EXPECT_EQ(window->setup().channelSelect[3], 64.0f);
    QTest::keyClick(channel3, Qt::Key_Return);
    EXPECT_EQ(window->setup().channelSelect[3], 0.0f);
    QTest::mouseClick(channel3, Qt::LeftButton);
    EXPECT_EQ(window->setup().channelSelect[3], 64.0f) << "one click, one change";
    QTest::keyClick(channel3, Qt::Key_A);
    EXPECT_EQ(window->setup().channelSelect[3], 64.0f) << "other keys do nothing";
}

TEST_F(Keyboard, HandshakeIndicatorsToggleAndRefreshFromTheKeyboard)
{
    logOn();
    Ui::frmComm &comm = window->comm().ui();
    ASSERT_TRUE(port.dtr());
    ASSERT_TRUE(port.rts());

    QTest::keyClick(comm.lblToggleDTR, Qt::Key_Space);
    EXPECT_FALSE(port.dtr());
    EXPECT_EQ(background(comm.lblToggleDTR), QColor(255, 0, 0));
    QTest::keyClick(comm.lblToggleDTR, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(port.dtr());
    EXPECT_EQ(background(comm.lblToggleDTR), QColor(0, 255, 0));

    QTest::keyClick(comm.lblToggleRTS, Qt::Key_Return);
    EXPECT_FALSE(port.rts());
    QTest::mouseClick(comm.lblToggleRTS, Qt::LeftButton);
    EXPECT_TRUE(port.rts());

    // No DSR on the line: the refresh paints it red and forgets the logger.
    link.state().loggerConnected = true;
    QTest::keyClick(comm.lblStatusDSR, Qt::Key_Space);
    EXPECT_EQ(background(comm.lblStatusDSR), QColor(255, 0, 0));
    EXPECT_EQ(background(window->ui().lblDSRStatus), QColor(255, 0, 0));
    EXPECT_FALSE(link.state().loggerConnected);

    IndicatorPainter::paint(comm.lblStatusDCD, IndicatorColour::DarkGreen);
    QTest::keyClick(comm.lblStatusDCD, Qt::Key_Space);
    EXPECT_EQ(background(comm.lblStatusDCD), QColor(255, 0, 0)) << "CD read again: not held";
}

TEST_F(Keyboard, LoggerStatusLabelAndStatusLineWorkFromTheKeyboard)
{
    logOn();
    link.state().loggerConnected = true;
    QTest::keyClick(window->ui().lblLgrStatus, Qt::Key_Space);
    EXPECT_FALSE(link.state().loggerConnected) << "the connection is checked anew";
    EXPECT_EQ(background(window->ui().lblCTSStatus), QColor(255, 0, 0)) << "busy: no logger";

    // The status byte is asked for; with no logger to answer, the command times out.
    window->comm().ui().lblCommStatus->clear();
    link.state().commAbort = false;
    QTest::keyClick(window->ui().LblStatusLine, Qt::Key_Return);
    EXPECT_TRUE(link.state().commAbort);
    EXPECT_EQ(window->comm().ui().lblCommStatus->text(), "TXD Timed out--No Command Echo?");
}
