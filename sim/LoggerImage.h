#pragma once

#include <QByteArray>
#include <QDateTime>
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

    // When the running test takes its next scan; early: it is the scan 255 s
    // before the start of a long delay.
    struct ScanSchedule
    {
        QDateTime nextScan;
        bool early = false;

        bool operator==(const ScanSchedule &) const = default;
    };
    // The logger's clock when the image was taken, and the running test's
    // schedule on it, so that a logger loaded again later knows which scans
    // fell due meanwhile. Invalid and empty when not known (an image built
    // by hand, or a file from before they were kept).
    QDateTime clock;
    std::optional<ScanSchedule> schedule;

    bool save(const QString &file, QString *error) const;
    static std::optional<LoggerImage> load(const QString &file, QString *error);
};
