#include "tests/console/LoggerWindowFixture.h"

#include "console/MainTab.h"
#include "ui_FrmStartup.h"

#include <QDir>
#include <QTest>
#include <utility>

int OpenBoxDialogs::Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title)
{
    if (whileOpen)
        std::exchange(whileOpen, {})(title);
    return ScriptedDialogs::Message_Box(prompt, buttonsAndIcon, title);
}

LoggerWindowFixture::LoggerWindowFixture(const LoggerImage &image)
    : settings(dir.filePath(QStringLiteral("settings.ini")))
    , startup(settings)
    , logger(loop, image)
    , simPort(loop, logger)
    , port(simPort, [this] { return loop.elapsedNs(); })
    , connection(port, loop, settings, dialogs)
{
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    startup.save(QStringLiteral("DefaultPath"), dir.filePath(QStringLiteral("data")));
    startup.save(QStringLiteral("CommPortNum"), QStringLiteral("1"));
}

LoggerWindowFixture::~LoggerWindowFixture() = default;

void LoggerWindowFixture::openWindow()
{
    window = std::make_unique<FrmStartup>(loop, dialogs, printer, settings, connection,
                                          FrmStartup::Options{dir.filePath(QStringLiteral("data")), true});
    window->Form_Load();
}

void LoggerWindowFixture::logOn(double seconds)
{
    window->ui().CmdLogOn->click();
    loop.advanceSeconds(seconds);
}

void LoggerWindowFixture::openOnSetupTab()
{
    openWindow();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    logOn();
    ASSERT_TRUE(connection.header.headerValid);
    window->ui().SSTab1->setCurrentIndex(MainTab::Setup);
}
