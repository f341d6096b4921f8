#pragma once

#include <QString>

class Dialogs;
class LoggerConnection;

// Lines written into a logger that is logging would corrupt its running
// test: whatever writes header or data lines asks to stop logging first.
class LoggingStop
{
public:
    // True when the logger is not logging, or the operator agreed and logging
    // was switched off; false (nothing to be written) when the operator
    // declined or the link failed. `action` names what would corrupt the
    // test, such as "Loading a header file".
    static bool stopped(LoggerConnection &connection, Dialogs &dialogs, const QString &action);
};
