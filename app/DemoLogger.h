#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <memory>

class EventLoop;
class LoggerImageKeeper;
class LoggerSimulator;
class Port;
class SettingsStore;
class SimPort;

// The simulated logger of demo mode, plugged into the program's port from the
// start. It keeps its memory in an image file, saved after every change so
// that even a killed program loses nothing. No widget: the command-line tool
// uses it too (the windows add DemoMenu).
class DemoLogger
{
public:
    // The image file used when none is named: in the demo data folder.
    static QString defaultImageFile();
    // The settings of this run: the demo keeps its own file, so trying it
    // never changes the port or folders configured for real loggers.
    static std::unique_ptr<SettingsStore> openSettings(bool demo);

    DemoLogger(EventLoop &loop, const QString &imageFile);
    ~DemoLogger();

    // Starts from the image file when it exists and no preset is asked for,
    // else from the preset ("finished" when empty). A test that was logging
    // when the image was saved has gone on logging meanwhile: the scans due
    // since are in memory when this returns. False with a reason when the
    // preset is unknown or the image cannot be read.
    bool start(const QString &presetName, const QDateTime &now, QString *error);
    // Saves at once; the image is also saved by itself after each change.
    bool saveImage(QString *error);
    // Told when saving after a change fails.
    void setSaveErrorHandler(std::function<void(const QString &)> handler);

    Port &port();
    LoggerSimulator &simulator() { return *m_simulator; }
    // The firmware version the logger reports from now on (4 characters).
    void setFirmwareVersion(const QByteArray &version);

private:
    EventLoop &m_loop;
    QString m_imageFile;
    std::unique_ptr<LoggerSimulator> m_simulator;
    std::unique_ptr<SimPort> m_port;
    std::unique_ptr<LoggerImageKeeper> m_keeper;
    std::function<void(const QString &)> m_onSaveError;
};
