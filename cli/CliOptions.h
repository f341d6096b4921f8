#pragma once

#include "logger/SetupCalculations.h"

#include <QString>
#include <QStringList>

// What the command line asks of one run of datalogger-cli: the command, the
// common options and the values of the command's own options, each already
// checked. A problem leaves exitNow set with a one-line message.
struct CliOptions
{
    enum class Units { Engineering, MilliVolts, Counts };

    QString command;
    QStringList arguments; // after the command (header save|load FILE, convert FILE)

    QString port;
    bool demo = false;
    QString preset;
    QString image;
    QString baud;          // "9600", "115200" or "auto"
    bool json = false;
    bool yes = false;
    bool noHandshake = false;
    bool quiet = false;
    int timeoutSeconds = 60;

    // download
    QString out;
    QString notes;
    bool raw = false;
    bool resume = false;
    bool tidy = true;      // --no-tidy: no tidy file, events table or metadata

    // init
    qint64 periodSeconds = 0;
    QString periodText;    // as given: the Setup tab's value and unit come from it
    QList<int> channels;   // 1-8, ascending
    int monitor = 0;
    qint64 waitSeconds = -1; // -1: the configured start delay
    QString description;
    int calInterval = -1;
    bool startNow = false;

    // realtime
    double intervalSeconds = 1.0;
    int count = 0;         // 0: until stopped
    Units units = Units::Engineering;

    bool exitNow = false;
    int exitCode = 0;
    QString message;       // printed when exiting now (stdout for help, else stderr)

    static CliOptions parse(const QStringList &arguments);

    // "60s", "5m", "2h" or a bare number of seconds; -1 when not a duration
    // of at least one second and at most maxSeconds.
    static qint64 parseDuration(const QString &text, qint64 maxSeconds);
    // "1-4", "1,3,5" or "2"; empty when a channel lies outside 1-8.
    static QList<int> parseChannels(const QString &text);
    // The Setup tab's unit and value of a period as given ("5m": Minutes, 5).
    static SetupCalculations::Unit periodUnit(const QString &text);
    static double periodValue(const QString &text);
};
