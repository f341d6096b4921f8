#include "sim/HeaderWriter.h"

HeaderWriter::HeaderWriter(QByteArray &header) : m_header(header) {}

bool HeaderWriter::lineFits(int address) const
{
    return address >= 0 && address % LineBytes == 0 && address + LineBytes <= m_header.size();
}

void HeaderWriter::text(int address, const QString &characters)
{
    Q_ASSERT(lineFits(address));
    if (!lineFits(address))
        return;
    const QByteArray bytes = characters.toLatin1().leftJustified(LineBytes, ' ', true);
    m_header.replace(address, LineBytes, bytes);
}

void HeaderWriter::hex(int address, const QString &digits)
{
    Q_ASSERT(lineFits(address));
    if (!lineFits(address))
        return;
    const QByteArray text = digits.toLatin1().leftJustified(2 * LineBytes, '0', true);
    m_header.replace(address, LineBytes, QByteArray::fromHex(text));
}

void HeaderWriter::fill(int firstAddress, int lastAddress, char byte)
{
    for (int address = firstAddress; address <= lastAddress; address += LineBytes)
        if (lineFits(address))
            m_header.replace(address, LineBytes, QByteArray(LineBytes, byte));
}

QString HeaderWriter::textAt(int address) const
{
    return lineFits(address) ? QString::fromLatin1(m_header.mid(address, LineBytes)) : QString();
}

QString HeaderWriter::hexAt(int address) const
{
    return lineFits(address) ? QString::fromLatin1(m_header.mid(address, LineBytes).toHex().toUpper())
                             : QString();
}
