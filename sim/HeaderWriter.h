#pragma once

#include <QByteArray>
#include <QString>

// Writes whole lines of a logger's header memory the way the PC writes them:
// character lines (0200 and up) as 16 characters, the binary lines of page 00
// as 32 hexadecimal digits. The presets compose their headers through it.
class HeaderWriter
{
public:
    explicit HeaderWriter(QByteArray &header);

    // The 16 characters of a character line; shorter text is padded with
    // blanks, longer text is cut, as the header's fixed-width fields are.
    void text(int address, const QString &characters);
    // The 16 bytes of a binary line, given as 32 hexadecimal digits (shorter
    // text is padded with '0', longer text is cut, as the PC writes them).
    void hex(int address, const QString &digits);
    // Every line from first to last (inclusive) filled with one byte value.
    void fill(int firstAddress, int lastAddress, char byte);

    QString textAt(int address) const;
    QString hexAt(int address) const;

private:
    static constexpr int LineBytes = 16;
    bool lineFits(int address) const;

    QByteArray &m_header;
};
