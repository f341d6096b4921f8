// The settings store read from a damaged or hand-edited INI file (the input).
// Properties: every whole-number setting the program reads comes back within
// its range or as its default; any value read, saved and read again from the
// file is unchanged.
#include "fuzz/FuzzCheck.h"
#include "platform/SettingsStore.h"
#include "platform/StartupSettings.h"

#include <QFile>

namespace {

struct IntSetting
{
    const char *key;
    int defaultValue;
    int min;
    int max;
};

// The whole-number settings the windows and the command-line tool read.
constexpr IntSetting IntSettings[] = {
    {"chkRAW", 0, 0, 1},
    {"chkAutoBaud", 1, 0, 1},
    {"CommPortNum", 0, 0, 32767},
    {"GMTDelta", 0, -24, 24},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A new file name each time: the settings files are cached by name.
    static quint64 run = 0;
    const QString file = FuzzCheck::scratchFolder() + QStringLiteral("/s%1.ini").arg(++run);
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            FuzzCheck::fail("scratch file", file);
        out.write(FuzzCheck::bytes(data, size));
    }
    QStringList values;
    {
        SettingsStore store(file);
        StartupSettings settings(store);
        for (const IntSetting &s : IntSettings) {
            const int v = settings.getInt(QString::fromLatin1(s.key), s.defaultValue, s.min, s.max);
            FuzzCheck::require(v == s.defaultValue || (v >= s.min && v <= s.max),
                               "whole-number setting within its range", QString::fromLatin1(s.key));
        }
        for (const IntSetting &s : IntSettings)
            values << settings.get(QString::fromLatin1(s.key), QStringLiteral("none"));
        // Saved under new keys, so the file keeps what was read.
        for (qsizetype i = 0; i < values.size(); ++i)
            settings.save(QStringLiteral("Copy%1").arg(i), values[i]);
        store.sync();
    }
    {
        SettingsStore store(file);
        StartupSettings settings(store);
        for (qsizetype i = 0; i < values.size(); ++i) {
            FuzzCheck::require(settings.get(QStringLiteral("Copy%1").arg(i), QStringLiteral("gone"))
                                   == values[i],
                               "a value saved reads back", values[i]);
        }
    }
    QFile::remove(file);
    return 0;
}
