#include "tests/console/MainWindowFixture.h"

#include <QDir>

MainWindowFixture::MainWindowFixture()
    : dataFolder(dir.filePath(QStringLiteral("LoggerData")))
    , settings(dir.filePath(QStringLiteral("settings.ini")))
    , startup(settings)
    , connection(port, loop, settings, dialogs)
    , link(connection.link)
{
}

// The scripted dialogs fail the test for any expected box that never came.
MainWindowFixture::~MainWindowFixture() = default;

void MainWindowFixture::load()
{
    window = std::make_unique<FrmStartup>(loop, dialogs, printer, settings, connection,
                                          FrmStartup::Options{dataFolder, false});
    window->Form_Load();
}

void MainWindowFixture::loadConfigured()
{
    QDir().mkpath(dataFolder);
    store(QStringLiteral("DefaultPath"), dataFolder);
    store(QStringLiteral("CommPortNum"), QStringLiteral("1"));
    load();
}

std::vector<int> MainWindowFixture::enabledTabs() const
{
    std::vector<int> tabs;
    for (int i = 0; i < window->ui().SSTab1->count(); ++i) {
        if (window->ui().SSTab1->isTabEnabled(i))
            tabs.push_back(i);
    }
    return tabs;
}
