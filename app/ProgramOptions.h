#pragma once

#include "console/FrmStartup.h"

#include <QString>
#include <QStringList>

// What the command line asks of this run.
struct ProgramOptions
{
    bool demo = false;
    QString port;          // a device that replaces the numbered port
    QString preset;        // demo logger preset
    QString image;         // demo logger memory image file
    bool exitNow = false;  // --help or --version was answered
    int exitCode = 0;
    QString message;       // text to print when exiting now

    static ProgramOptions parse(const QStringList &arguments);

    // The data folder used while none is configured: a folder of its own in demo mode.
    QString dataFolder() const;
    // What the main window is told of this run.
    FrmStartup::Options windowOptions() const;
};
