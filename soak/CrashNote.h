#pragma once

#include <QByteArray>

// Tells, if the soak crashes, which operation of which round was running:
// the note is kept where a signal handler can print it.
class CrashNote
{
public:
    // Installs the handler for the fatal signals.
    static void arm();
    static void set(const QByteArray &note);
};
