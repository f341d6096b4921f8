#include "platform/StartupSettings.h"

#include "platform/SettingsStore.h"

#include <cmath>
#include <limits>

const QString StartupSettings::App = QStringLiteral("DataLogger");
const QString StartupSettings::Section = QStringLiteral("T410-Ops\\Startup");

StartupSettings::StartupSettings(SettingsStore &store)
    : m_store(store)
{
}

QString StartupSettings::get(const QString &key, const QString &defaultValue) const
{
    return m_store.GetSetting(App, Section, key, defaultValue);
}

void StartupSettings::save(const QString &key, const QString &value)
{
    m_store.SaveSetting(App, Section, key, value);
}

bool StartupSettings::parseNumber(const QString &text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

qint64 StartupSettings::roundHalfEven(double value)
{
    // A value beyond the whole numbers a qint64 holds saturates (and no number
    // gives 0): converting it would be undefined.
    constexpr double Limit = 9223372036854775808.0; // 2^63
    if (std::isnan(value))
        return 0;
    if (value >= Limit)
        return std::numeric_limits<qint64>::max();
    if (value <= -Limit)
        return std::numeric_limits<qint64>::min();
    return qint64(std::nearbyint(value)); // default rounding mode: to nearest, ties to even
}

int StartupSettings::getInt(const QString &key, int defaultValue, int min, int max) const
{
    double v = 0;
    if (!parseNumber(get(key, QString::number(defaultValue)), &v))
        return defaultValue;
    const qint64 n = roundHalfEven(v);
    if (n < min || n > max)
        return defaultValue;
    return int(n);
}
