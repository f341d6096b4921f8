#include "tests/logger/MemoryBench.h"

MemoryBench::MemoryBench(const LoggerImage &image)
    : TransportBench(loop, image), parts{connection, dialogs, loop, display}
{
    QObject::connect(&display, &MemoryTestDisplay::shown,
                     [this](const QString &status, const QString &result) { shownTexts.append({status, result}); });
    QObject::connect(&display, &MemoryTestDisplay::lineTested,
                     [this](const QString &address) { linesTested.append(address); });
    connect();
    port.forget();
}

LoggerImage MemoryBench::image(LoggerPreset preset, int chips, int typeCode)
{
    LoggerImage built = LoggerPresets::build(preset, VirtualEventLoop().now());
    if (chips > 0)
        LoggerPresets::setDataMemory(built, chips, typeCode);
    return built;
}

QList<MemoryBench::Write> MemoryBench::writes(char letter) const
{
    QList<Write> found;
    for (const QString &command : QString::fromLatin1(port.written()).split(u'\r')) {
        const qsizetype hash = command.indexOf(u'#');
        if (command.startsWith(QLatin1Char(letter)) && hash > 1)
            found.append({command.mid(1, hash - 1), command.mid(hash + 1).chopped(2)});
    }
    return found;
}

QStringList MemoryBench::addressesWritten(char letter) const
{
    QStringList addresses;
    for (const Write &w : writes(letter))
        if (addresses.isEmpty() || addresses.last() != w.address)
            addresses.append(w.address);
    return addresses;
}
