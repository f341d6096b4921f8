#pragma once

#include <QString>

class SettingsStore;

// The program's "Startup" section of the settings store, with typed reads that
// fall back to the default on anything unreadable: a hand-edited or damaged
// store must never stop the program from starting.
class StartupSettings
{
public:
    static const QString App;
    static const QString Section;

    explicit StartupSettings(SettingsStore &store);

    QString get(const QString &key, const QString &defaultValue) const;
    void save(const QString &key, const QString &value);

    // A whole number; a fractional value rounds half to even; junk or a value
    // outside [min, max] gives defaultValue.
    int getInt(const QString &key, int defaultValue, int min, int max) const;

    // Reads text as a number the way the operator's fields are read: blanks
    // around it allowed, nothing else. Returns false on junk.
    static bool parseNumber(const QString &text, double *value);
    // Rounds half to even, as the program always has for whole-number fields.
    // Values beyond the range of qint64 saturate; no number gives 0.
    static qint64 roundHalfEven(double value);

private:
    SettingsStore &m_store;
};
