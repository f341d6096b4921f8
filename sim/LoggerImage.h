#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Everything a logger keeps over a power cycle: its header memory, its data
// memory and its status byte. The simulated logger runs on one of these; the
// presets build them; a demo logger keeps its own in a file between runs.
struct LoggerImage
{
    static constexpr int HeaderSize = 0x1000;
    // First header address holding 16-character text lines; below it the
    // lines hold binary bytes.
    static constexpr int FirstTextLine = 0x0200;

    // One byte per header address 0000-0FFF.
    QByteArray header = QByteArray(HeaderSize, '\0');
    // Data memory, one byte per address; erased memory reads FF.
    QByteArray data;
    quint8 statusByte = 0;

    bool save(const QString &file, QString *error) const;
    static std::optional<LoggerImage> load(const QString &file, QString *error);
};
