#include "console/FrmStartup.h"
#include "console/LoggerStatusView.h"
#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui_FrmStartup.h"
#include "ui_LoggerStatusView.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The whole program as it runs on a PC: the real serial-port class and Qt's
// own event loop, the windows, and datalogger-sim serving a finished test on
// its pseudo-terminal, as `datalogger --port <that device>` uses it.
TEST(RealPortConnection, LogOnReadsTheSimulatedLoggerThroughTheRealSerialPort)
{
    QProcess sim;
    sim.start(DATALOGGER_SIM_PATH, {"--preset", "finished"});
    ASSERT_TRUE(sim.waitForStarted(10000));
    while (!sim.canReadLine() && sim.waitForReadyRead(10000)) {
    }
    const QString device = QString::fromLocal8Bit(sim.readLine().trimmed());
    if (!device.startsWith("/dev/"))
        GTEST_SKIP() << "datalogger-sim found no pseudo-terminal";

    QTemporaryDir dir;
    SettingsStore settings(dir.filePath("settings.ini"));
    StartupSettings startup(settings);
    QDir().mkpath(dir.filePath("data"));
    startup.save("DefaultPath", dir.filePath("data"));
    startup.save("CommPortNum", "1");
    QtEventLoop loop;
    ScriptedDialogs dialogs;
    QtSerialPort port;
    LoggerConnection connection(port, loop, settings, dialogs);
    connection.link.setDeviceOverride(device);
    RecordingPrinter printer;
    FrmStartup window(loop, dialogs, printer, settings, connection,
                      FrmStartup::Options{dir.filePath("data"), false});
    window.Form_Load();

    window.ui().CmdLogOn->click();
    const qint64 end = loop.elapsedNs() + 90'000'000'000LL;
    const auto done = [&] {
        return connection.header.headerValid && !connection.link.sequences().isRunning();
    };
    while (!done() && loop.elapsedNs() < end)
        loop.yieldUntil(end);

    EXPECT_TRUE(connection.state.loggerConnected);
    ASSERT_TRUE(connection.header.headerValid);
    EXPECT_EQ(window.ui().lblLgrStatus->text(), "Logger Connected");
    EXPECT_EQ(window.statusView().ui().LblRdSerialNum->text().trimmed(), "00041002");
    EXPECT_EQ(port.settings(), "115200,N,8,1") << "the high-speed switch works over it too";
    EXPECT_TRUE(dialogs.shown().empty()) << dialogs.titles().join(", ").toStdString();

    connection.shutDown();
    sim.terminate();
    sim.waitForFinished(10000);
}
