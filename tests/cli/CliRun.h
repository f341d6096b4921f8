#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "sim/LoggerImage.h"

// datalogger-cli run as a process in a home of its own (settings, data
// folder and demo image in a scratch folder).
class CliRun
{
public:
    struct Result
    {
        int exitCode = -1;
        bool crashed = false;
        QString out;
        QString err;
    };

    CliRun();

    QString home() const { return m_home.path(); }
    // Where the demo logger keeps its memory; the test puts an image there.
    QString imageFile() const;
    void saveImage(const LoggerImage &image) const;
    QString demoDataFolder() const;

    // Runs it to the end. whileRunning is called once stderr has shown a
    // line containing `cue`, with the process still running.
    Result run(const QStringList &arguments, const QString &cue = QString(),
               const std::function<void(QProcess &)> &whileRunning = {}) const;

private:
    QTemporaryDir m_home;
};

// datalogger-sim serving an image file on a pseudo-terminal.
class SimOnPty
{
public:
    explicit SimOnPty(const QString &imageFile);
    ~SimOnPty();
    // Empty when the simulator found no pseudo-terminal.
    QString device() const { return m_device; }

private:
    QProcess m_sim;
    QString m_device;
};
