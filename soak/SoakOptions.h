#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The soak's command line: --seed N, --operations N, --only K, --verbose.
struct SoakOptions
{
    quint64 seed = 0;
    bool seedGiven = false;
    qint64 operations = 200;
    // Only this operation of the round (its index), to replay a failure.
    qint64 only = -1;
    bool verbose = false;

    // Nothing, and the error on stderr, when the arguments make no sense.
    static bool parse(const QStringList &arguments, SoakOptions *options, QString *error);
    static QString usage();
};
