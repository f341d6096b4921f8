#pragma once

#include "console/FrmStartup.h"
#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TapPort.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// Scripted boxes that can let time pass while a box is open, as the loop
// runs on under a box the operator has not answered yet.
class OpenBoxDialogs : public ScriptedDialogs
{
public:
    std::function<void(const QString &title)> whileOpen;

    int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) override;
};

// The main window with the simulated logger on its port, under virtual time,
// on a scratch settings file whose data folder exists and port 1 is chosen.
// The port records the conversation.
class LoggerWindowFixture : public ::testing::Test
{
protected:
    explicit LoggerWindowFixture(const LoggerImage &image);
    ~LoggerWindowFixture() override;

    // Builds the window on the settings stored so far and runs its start-up.
    void openWindow();
    // Presses Log On and lets the new connection read the logger.
    void logOn(double seconds = 30);
    // The window shown and active, as keyboard and mouse tests need it, the
    // logger read, and the Setup tab on top.
    void openOnSetupTab();
    void settle(double seconds = 30) { loop.advanceSeconds(seconds); }

    Ui::FrmStartup &ui() { return window->ui(); }
    LinkState &state() { return connection.state; }

    QTemporaryDir dir;
    VirtualEventLoop loop;
    OpenBoxDialogs dialogs;
    RecordingPrinter printer;
    SettingsStore settings;
    StartupSettings startup;
    LoggerSimulator logger;
    SimPort simPort;
    TapPort port;
    LoggerConnection connection;
    std::unique_ptr<FrmStartup> window;
};
