#include "platform/SettingsStore.h"

#include <QSettings>
#include <QStringList>

namespace {

// Sections are written with a backslash ("T410-Ops\Startup"); QSettings nests
// groups with a slash.
QString groupPath(const QString &app, const QString &section)
{
    QString path = app + u'/' + section;
    path.replace(u'\\', u'/');
    return path;
}

} // namespace

SettingsStore::SettingsStore()
#ifdef Q_OS_WIN
    // Where the earlier program of this name kept its settings, so an upgraded
    // PC keeps its port, folder and passwords.
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("VB and VBA Program Settings")))
#else
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("DataLogger"),
                                             QStringLiteral("DataLogger")))
#endif
{
}

SettingsStore::SettingsStore(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

// The stored spelling of a key, found without regard to case, as a full path;
// the requested spelling when the key is new.
QString SettingsStore::findKey(const QString &app, const QString &section,
                               const QString &key) const
{
    const QString wanted = groupPath(app, section) + u'/' + key;
    const QStringList keys = m_settings->allKeys();
    for (const QString &stored : keys) {
        if (stored.compare(wanted, Qt::CaseInsensitive) == 0)
            return stored;
    }
    return wanted;
}

QString SettingsStore::GetSetting(const QString &app, const QString &section,
                                  const QString &key, const QString &defaultValue) const
{
    const QVariant value = m_settings->value(findKey(app, section, key));
    if (!value.isValid())
        return defaultValue;
    // A value with commas (a port settings text) comes back from an INI file as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

void SettingsStore::SaveSetting(const QString &app, const QString &section,
                                const QString &key, const QString &value)
{
    m_settings->setValue(findKey(app, section, key), value);
    m_settings->sync();
}

QString SettingsStore::location() const
{
    return m_settings->fileName();
}

void SettingsStore::sync()
{
    m_settings->sync();
}

QString SettingsStore::writeError() const
{
    switch (m_settings->status()) {
    case QSettings::NoError: return {};
    case QSettings::AccessError:
        return QStringLiteral("The settings could not be written to %1.").arg(location());
    case QSettings::FormatError:
        return QStringLiteral("The settings file %1 is damaged.").arg(location());
    }
    return {};
}
