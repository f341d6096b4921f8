#pragma once

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
};
