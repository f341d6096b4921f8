#include "sim/LiveBlock.h"

quint32 LiveBlock::field(const QByteArray &header, int address, int offset, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(header.at(address + offset + i));
    return value;
}

void LiveBlock::setField(QByteArray &header, int address, int offset, int width, quint32 value)
{
    for (int i = width - 1; i >= 0; --i) {
        header[address + offset + i] = char(value & 0xFF);
        value >>= 8;
    }
}

LiveBlock::Setup LiveBlock::setup(const QByteArray &header, int line)
{
    Setup s;
    s.calInterval = field(header, line, 2, 2);
    s.period = field(header, line, 4, 2);
    s.wait = field(header, line, 6, 3);
    s.scans = field(header, line, 9, 3);
    s.channels = field(header, line, 12, 1);
    s.pointer = field(header, line, 13, 3);
    return s;
}

void LiveBlock::setSetup(QByteArray &header, int line, const Setup &s)
{
    setField(header, line, 0, 2, 0);
    setField(header, line, 2, 2, s.calInterval);
    setField(header, line, 4, 2, s.period);
    setField(header, line, 6, 3, s.wait);
    setField(header, line, 9, 3, s.scans);
    setField(header, line, 12, 1, s.channels);
    setField(header, line, 13, 3, s.pointer);
}

LiveBlock::Event LiveBlock::event(const QByteArray &header)
{
    Event e;
    e.nextSample = field(header, EventLine, 4, 2);
    e.waits = field(header, EventLine, 6, 3);
    e.scans = field(header, EventLine, 9, 3);
    e.channels = field(header, EventLine, 12, 1);
    e.pointer = field(header, EventLine, 13, 3);
    return e;
}

void LiveBlock::setEvent(QByteArray &header, const Event &e)
{
    setField(header, EventLine, 4, 2, e.nextSample);
    setField(header, EventLine, 6, 3, e.waits);
    setField(header, EventLine, 9, 3, e.scans);
    setField(header, EventLine, 12, 1, e.channels);
    setField(header, EventLine, 13, 3, e.pointer);
}

int LiveBlock::monitorChannel(const QByteArray &header)
{
    const quint32 first = field(header, ChannelLine, 0, 1);
    const int channel = int(first & 0x0F);
    return (first & 0x80) && channel >= 1 && channel <= 8 ? channel : 0;
}

bool LiveBlock::channelActive(const QByteArray &header, int channel)
{
    return field(header, ChannelLine, channel - 1, 1) & 0x40;
}
