#include "sim/ScanWriter.h"

#include <algorithm>

ScanWriter::ScanWriter(QByteArray &memory, quint32 pointer) : m_memory(memory), m_pointer(pointer) {}

quint16 ScanWriter::channelWord(int tag, int count)
{
    return quint16(((tag & 0xF) << 12) | std::clamp(count, 0, MaxCount));
}

quint16 ScanWriter::statusWord(quint8 statusByte)
{
    return quint16((StatusTag << 12) | statusByte);
}

int ScanWriter::wordsPerScan(int activeChannels, bool monitor)
{
    return activeChannels + (monitor ? 2 : 0);
}

bool ScanWriter::fits(int words) const
{
    return qint64(m_pointer) + 2 * qint64(words) <= m_memory.size();
}

void ScanWriter::putWord(quint16 word)
{
    m_memory[m_pointer] = char(word >> 8);
    m_memory[m_pointer + 1] = char(word & 0xFF);
    m_pointer += 2;
}

bool ScanWriter::writeScan(const QList<int> &counts,
                           std::optional<std::pair<int, int>> monitorMaxMin)
{
    const int channels = int(counts.size());
    if (!fits(wordsPerScan(channels, monitorMaxMin.has_value())))
        return false;
    for (int tag = 0; tag < channels; ++tag)
        putWord(channelWord(tag, counts[tag]));
    if (monitorMaxMin) {
        putWord(channelWord(channels, monitorMaxMin->first));
        putWord(channelWord(channels + 1, monitorMaxMin->second));
    }
    return true;
}

bool ScanWriter::writeStatus(quint8 statusByte)
{
    if (!fits(1))
        return false;
    putWord(statusWord(statusByte));
    return true;
}
