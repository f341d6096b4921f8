#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class SimPort;

// The conversation on the simulated cable during one operation, as each
// side put it there: what the PC wrote and what the logger sent.
class WireRecord
{
public:
    void attach(SimPort &port);
    void clear();

    const QByteArray &fromPc() const { return m_fromPc; }
    const QByteArray &fromLogger() const { return m_fromLogger; }

    // The command letters the PC sent (the first byte of each command).
    QByteArray commandLetters() const;
    // True when the PC sent a command letter out of `letters`.
    bool sentAnyOf(const char *letters) const;
    // Every data line ("e" reply) the logger sent whole and sound: echoed
    // letter, six address digits, "#", 32 data digits and the checksum of
    // what follows the letter, keyed by address, in the order sent.
    QMap<qint64, QString> soundDataLines() const;

    // The reply line of a data read as the logger sends it for 16 bytes.
    static QString dataLine(qint64 address, const QByteArray &bytes);

private:
    QByteArray m_fromPc;
    QByteArray m_fromLogger;
};
