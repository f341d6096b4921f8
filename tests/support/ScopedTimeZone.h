#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <ctime>

// Runs the process on the clock of the named zone ("Europe/Berlin") until it
// goes out of scope, then puts the previous zone back. Build it before any
// local QDateTime the test relies on.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone)
        : m_wasSet(qEnvironmentVariableIsSet("TZ"))
        , m_previous(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_wasSet)
            qputenv("TZ", m_previous);
        else
            qunsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    bool m_wasSet;
    QByteArray m_previous;
};
