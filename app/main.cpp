#include "app/DemoLogger.h"
#include "app/DemoMenu.h"
#include "app/ProgramOptions.h"
#include "console/FrmStartup.h"
#include "logger/LoggerConnection.h"
#include "platform/PortNames.h"
#include "platform/SettingsStore.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtSerialPort.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    // Help and version answer without a display, before the window toolkit starts.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = ProgramOptions::parse(arguments);
    if (options.exitNow) {
        std::fputs(qPrintable(options.message), options.exitCode ? stderr : stdout);
        return options.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAN Data Logger Software"));
    QApplication::setApplicationVersion(QStringLiteral(DATALOGGER_VERSION));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("datalogger")));

    QtEventLoop loop;
    QtDialogs dialogs;
    QtPrinter printer;
    std::unique_ptr<SettingsStore> settings = DemoLogger::openSettings(options.demo);
    QtSerialPort serialPort;
    std::unique_ptr<DemoLogger> demo;
    if (options.demo) {
        // Made before the window looks for it, so a first demo run starts quietly.
        QDir().mkpath(options.dataFolder());
        demo = std::make_unique<DemoLogger>(loop, options.image);
        demo->setSaveErrorHandler(
            [](const QString &error) { std::fprintf(stderr, "%s\n", qPrintable(error)); });
        QString error;
        if (!demo->start(options.preset, loop.now(), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
    }
    Port &port = demo ? demo->port() : static_cast<Port &>(serialPort);
    LoggerConnection connection(port, loop, *settings, dialogs);
    connection.link.setDeviceOverride(options.port);

    FrmStartup window(loop, dialogs, printer, *settings, connection, options.windowOptions());
    dialogs.setParentWindow(&window);
    printer.setParentWindow(&window);
    if (demo)
        DemoMenu::add(window, *demo);
    window.show();
    window.Form_Load();
    const int result = QApplication::exec();
    if (demo) {
        QString error;
        if (!demo->saveImage(&error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
    }
    return result;
}
