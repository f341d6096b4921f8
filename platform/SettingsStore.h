#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: string values under application, section and
// key. Key and section names match without regard to letter case, so a value
// written as "DefaultScanlist" is found again as "DefaultScanList".
class SettingsStore
{
public:
    // The user's own store: an INI file in the user's configuration folder on
    // Linux, the registry on Windows.
    SettingsStore();
    // A store kept in the given INI file (tests, portable use).
    explicit SettingsStore(const QString &iniFile);
    ~SettingsStore();

    QString GetSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultValue) const;
    void SaveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value);

    // Where the values live, for the README and the About window.
    QString location() const;
    // Writes pending changes to disk at once.
    void sync();
    // Why the last write did not reach the store, or empty when it did.
    QString writeError() const;

private:
    QString findKey(const QString &app, const QString &section, const QString &key) const;

    std::unique_ptr<QSettings> m_settings;
};
