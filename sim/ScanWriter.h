#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <utility>

// Records scans into a logger's data memory the way its firmware does: one
// 16-bit word per reading, most significant hexadecimal digit first, the tag
// in the top digit and the 12-bit A/D count below it. Tags 0 to N-1 are the
// active channels 1 to N, tags N and N+1 the monitor channel's maximum and
// minimum since the previous scan, tag 15 a status word.
class ScanWriter
{
public:
    static constexpr int StatusTag = 15;
    static constexpr int MaxCount = 4095;

    // Writes into memory from the given byte address on.
    explicit ScanWriter(QByteArray &memory, quint32 pointer = 0);

    static quint16 channelWord(int tag, int count);
    // A status word carries the status byte that the event left in its low bits.
    static quint16 statusWord(quint8 statusByte);
    static int wordsPerScan(int activeChannels, bool monitor);

    // One scan: the counts of channels 1..N, then the monitor maximum and
    // minimum when given. A scan that does not fit in the memory left is not
    // written at all (the logger stops with memory full); returns whether it was.
    bool writeScan(const QList<int> &counts, std::optional<std::pair<int, int>> monitorMaxMin);
    bool writeStatus(quint8 statusByte);

    // Next byte address to be written: the logger's memory pointer.
    quint32 pointer() const { return m_pointer; }
    bool fits(int words) const;

private:
    void putWord(quint16 word);

    QByteArray &m_memory;
    quint32 m_pointer;
};
