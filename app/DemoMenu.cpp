#include "app/DemoMenu.h"

#include "app/DemoLogger.h"
#include "sim/ChannelSignals.h"
#include "sim/LoggerSimulator.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

// For the Real Time tab by hand: clip readings on demand, and the firmware
// versions that ask before a reading is taken during a test (read at the
// next plug-in).
void DemoMenu::addReadingActions(QMenu &menu, DemoLogger &demo)
{
    menu.addSeparator();
    QAction *low = menu.addAction(QStringLiteral("Channel 1 Reads &0"));
    low->setObjectName(QStringLiteral("mnuDemoClipLow"));
    QAction *high = menu.addAction(QStringLiteral("Channel 2 Reads &4095"));
    high->setObjectName(QStringLiteral("mnuDemoClipHigh"));
    QAction *release = menu.addAction(QStringLiteral("&Release Channels"));
    release->setObjectName(QStringLiteral("mnuDemoRelease"));
    QObject::connect(low, &QAction::triggered, &menu, [&demo] { demo.simulator().inputs().force(1, 0); });
    QObject::connect(high, &QAction::triggered, &menu, [&demo] { demo.simulator().inputs().force(2, 4095); });
    QObject::connect(release, &QAction::triggered, &menu, [&demo] {
        for (int channel = 1; channel <= ChannelSignals::Channels; ++channel)
            demo.simulator().inputs().release(channel);
    });
    QMenu *firmware = menu.addMenu(QStringLiteral("&Firmware"));
    firmware->setObjectName(QStringLiteral("mnuDemoFirmware"));
    for (const char *version : {"Z823", "Z820", "Z812", "Z805"}) {
        QAction *action = firmware->addAction(QString::fromLatin1(version));
        action->setObjectName(QStringLiteral("mnuDemoFirmware") + QString::fromLatin1(version));
        QObject::connect(action, &QAction::triggered, &menu, [&demo, version] { demo.setFirmwareVersion(version); });
    }
}

void DemoMenu::add(QMainWindow &window, DemoLogger &demo)
{
    // Alt+D belongs to Download.
    QMenu *menu = new QMenu(QStringLiteral("De&mo"), &window);
    menu->setObjectName(QStringLiteral("mnuDemo"));
    QAction *unplug = menu->addAction(QStringLiteral("&Unplug Logger"));
    unplug->setObjectName(QStringLiteral("mnuDemoUnplug"));
    QAction *plug = menu->addAction(QStringLiteral("&Plug Logger In"));
    plug->setObjectName(QStringLiteral("mnuDemoPlug"));
    QObject::connect(unplug, &QAction::triggered, &window, [&demo] { demo.simulator().unplug(); });
    QObject::connect(plug, &QAction::triggered, &window, [&demo] { demo.simulator().plugIn(); });
    addReadingActions(*menu, demo);
    window.menuBar()->insertMenu(window.menuBar()->actions().value(0), menu);
}
