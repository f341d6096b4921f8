#pragma once

#include <QString>
#include <functional>
#include <memory>

class EventLoop;
class LoggerSimulator;
class Timer;

// Keeps a simulated logger's memory in its image file while it runs: every
// change is written soon after the command or scan that made it, atomically,
// so a program killed at any moment leaves the last whole image behind, never
// a half-written one. Saves are gathered: a burst of writes (a memory test, a
// header write) costs a few saves, not one per line.
class LoggerImageKeeper
{
public:
    // The shortest time between two saves during a burst of changes.
    static constexpr qint64 MinSaveGapNs = 250'000'000;

    LoggerImageKeeper(EventLoop &loop, LoggerSimulator &logger, const QString &file);
    ~LoggerImageKeeper();
    LoggerImageKeeper(const LoggerImageKeeper &) = delete;
    LoggerImageKeeper &operator=(const LoggerImageKeeper &) = delete;

    // Told of a change made outside the logger's own commands (a new image).
    void memoryChanged();
    // Saves at once, changed or not. False with a reason when the file cannot be written.
    bool saveNow(QString *error);
    // Told when a save in the background fails.
    void setErrorHandler(std::function<void(const QString &)> handler) { m_onError = std::move(handler); }

private:
    void saveIfChanged();

    EventLoop &m_loop;
    LoggerSimulator &m_logger;
    QString m_file;
    std::unique_ptr<Timer> m_timer;
    std::function<void(const QString &)> m_onError;
    qint64 m_lastSaveNs = -MinSaveGapNs;
    bool m_changed = false;
};
