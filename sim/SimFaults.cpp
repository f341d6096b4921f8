#include "sim/SimFaults.h"

#include <cstring>

bool SimFaults::take(int &counter)
{
    if (counter == Forever)
        return true;
    if (counter <= 0)
        return false;
    --counter;
    return true;
}

bool SimFaults::hasChecksum(char letter)
{
    return std::strchr("acepr" "lR", letter) != nullptr;
}

int SimFaults::addressWidth(char letter)
{
    switch (letter) {
    case 'a':
    case 'c':
        return 4;
    case 'e':
        return 6;
    default:
        return 0;
    }
}

void SimFaults::countLineSent()
{
    if (!m_silenceArmed || m_silent)
        return;
    if (--m_silenceAfter <= 0)
        m_silent = true;
}

bool SimFaults::keepsHeaderWrite(int address) const
{
    return m_forgetHeader < 0 || (address & ~0xF) != m_forgetHeader;
}

bool SimFaults::keepsDataWrite(qint64 address) const
{
    return m_forgetData < 0 || (address & ~qint64(0xF)) != m_forgetData;
}

quint8 SimFaults::stuck(Memory memory, qint64 address, quint8 byte) const
{
    for (const Stuck &bit : m_stuck) {
        if (bit.memory == memory && bit.address == address)
            byte = bit.high ? quint8(byte | bit.mask) : quint8(byte & ~bit.mask);
    }
    return byte;
}

qint64 SimFaults::bytesBeforeByteFault(qint64 count) const
{
    qint64 before = count;
    for (qint64 at : {m_unplugAt, m_restartAt, m_noiseAt}) {
        if (at >= 0)
            before = qMin(before, qMax<qint64>(0, at - m_bytesSent));
    }
    return before;
}

SimFaults::ByteFault SimFaults::takeByteFault()
{
    const auto due = [this](qint64 &at) {
        if (at < 0 || at > m_bytesSent)
            return false;
        at = -1;
        return true;
    };
    if (due(m_unplugAt))
        return ByteFault::Unplug;
    if (due(m_restartAt))
        return ByteFault::Restart;
    if (due(m_noiseAt))
        return ByteFault::Noise;
    return ByteFault::None;
}

namespace {
QByteArray checksumOf(const QByteArray &covered)
{
    unsigned sum = 0;
    for (char c : covered)
        sum += quint8(c);
    return QByteArray::number(sum & 0xFF, 16).toUpper().rightJustified(2, '0');
}

// Replaces the two checksum digits of a line by those of its body.
QByteArray resealed(QByteArray line)
{
    const QByteArray body = line.mid(1, line.size() - 3);
    return line.left(line.size() - 2) + checksumOf(body);
}
} // namespace

QByteArray SimFaults::mangle(QByteArray line)
{
    if (line.size() < 3 || !hasChecksum(line[0]))
        return line;
    const int width = addressWidth(line[0]);
    if (width > 0 && line.size() > width + 3 && take(m_otherAddress)) {
        bool ok = false;
        const qint64 address = line.mid(1, width).toLongLong(&ok, 16);
        const qint64 wrap = width == 4 ? 0x10000 : 0x1000000;
        const QByteArray other
            = QByteArray::number((address + 0x10) % wrap, 16).toUpper().rightJustified(width, '0');
        line = resealed(line.left(1) + other + line.mid(1 + width));
    }
    if (take(m_short))
        line = resealed(line.remove(line.size() - 3, 1));
    if (take(m_long))
        line = resealed(line.insert(line.size() - 3, line.at(line.size() - 3)));
    if (take(m_wrongChecksum)) {
        const QByteArray good = line.right(2);
        line = line.left(line.size() - 2)
               + QByteArray::number((good.toInt(nullptr, 16) + 1) & 0xFF, 16)
                     .toUpper()
                     .rightJustified(2, '0');
    }
    if (take(m_lowerCase))
        line = line.left(line.size() - 2) + line.right(2).toLower();
    return line;
}
