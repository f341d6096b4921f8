#pragma once

#include <QString>
#include <optional>

class CommandTransport;
struct LinkState;

// Writes header lines for the initialization routines, each verified by the
// transport's read-back, and notices when the link gives up (commAbort after
// time-outs or exhausted tries, or a sequence that was abandoned). From then
// on it sends nothing more, so a routine cannot go on writing a header that
// is already half written.
class HeaderLineWriter
{
public:
    HeaderLineWriter(CommandTransport &transport, LinkState &state);

    // Starts a routine: nothing has failed yet.
    void begin();
    // "d": 16 characters of text at a header line.
    bool writeText(int address, const QString &text);
    // "b": 32 hexadecimal digits at a header line.
    bool writeHex(int address, const QString &digits);
    // The 32 digits of a header line ("a"), or nothing when the link gave up.
    std::optional<QString> readHex(int address);
    // The 16 characters of a header text line ("c"), or nothing when the link gave up.
    std::optional<QString> readText(int address);
    // Called after a step made elsewhere (status byte, control commands):
    // true while the link is still answering.
    bool check(const QString &step);

    bool gaveUp() const { return m_gaveUp; }
    // The line or step where the link gave up.
    QString failedAt() const { return m_failedAt; }

    static QString address(int address);

private:
    bool send(const QString &letter, int address, const QString &data);

    CommandTransport &m_transport;
    LinkState &m_state;
    bool m_gaveUp = false;
    QString m_failedAt;
};
