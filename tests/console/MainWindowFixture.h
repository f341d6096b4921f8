#pragma once

#include "console/FrmStartup.h"
#include "logger/LoggerConnection.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/FakePort.h"
#include "tests/support/RecordingPrinter.h"
#include "tests/support/ScriptedDialogs.h"
#include "ui_FrmStartup.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// The main window on a scratch settings file and data folder, a port with no
// logger, virtual time and scripted boxes.
class MainWindowFixture : public ::testing::Test
{
protected:
    MainWindowFixture();
    ~MainWindowFixture() override;

    // Stores a "Startup" value before the window loads.
    void store(const QString &key, const QString &value) { startup.save(key, value); }
    QString stored(const QString &key) const { return startup.get(key, QStringLiteral("<none>")); }

    // Builds the window and runs its start-up.
    void load();
    // The same for a PC already set up: data folder present, port 1 chosen.
    void loadConfigured();
    // The indexes of the enabled tabs.
    std::vector<int> enabledTabs() const;

    QTemporaryDir dir;
    QString dataFolder;
    VirtualEventLoop loop;
    ScriptedDialogs dialogs;
    RecordingPrinter printer;
    SettingsStore settings;
    StartupSettings startup;
    FakePort port;
    LoggerConnection connection;
    SerialLink &link;
    std::unique_ptr<FrmStartup> window;
};
