#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

// Misbehaviour a test can switch on in the simulated logger. Each switch
// changes what travels on the wire, so the program's reaction can be tested
// the way it would meet it on a bench.
//
// Counted switches take a number of occurrences; Forever keeps them on until
// clear(). A line fault is used up only by a reply line it can change:
// - wrong / lower-case checksum: any line that ends in a checksum ("a", "c",
//   "e", "p", "r", "l", "R"); the lower-case one is used up there too,
//   but is visible only when the checksum holds a digit A-F;
// - short / long line: any line that ends in a checksum; short drops the
//   last character before the checksum, long repeats it (the checksum is
//   recomputed, so only the length is wrong);
// - other address: "a", "c" and "e" lines echo the next line's address
//   (address + 10 hex, wrapping) with a checksum that matches what is sent.
// A bare carriage-return answer uses up none of them.
class SimFaults
{
public:
    static constexpr int Forever = -1;

    // The next n command letters are swallowed: no echo, no answer; the
    // logger waits for the next letter as if it had heard nothing.
    void dropEchoes(int n) { m_noEcho = n; }
    void wrongChecksums(int n) { m_wrongChecksum = n; }
    void lowerCaseChecksums(int n) { m_lowerCase = n; }
    void shortLines(int n) { m_short = n; }
    void longLines(int n) { m_long = n; }
    void otherAddresses(int n) { m_otherAddress = n; }
    // After n more carriage returns sent, the logger neither hears nor sends
    // anything until clear().
    void silenceAfterLines(int n)
    {
        m_silenceAfter = n;
        m_silenceArmed = true;
        m_silent = n <= 0;
    }
    // The 16-byte header line at `address` (0000-0FF0) or the data line at
    // `address` (a multiple of 16) accepts writes but keeps its old bytes.
    void forgetHeaderWrites(int address) { m_forgetHeader = address & ~0xF; }
    void forgetDataWrites(qint64 address) { m_forgetData = address & ~qint64(0xF); }
    // A bit that cannot change: every byte written at `address` of the header
    // (0000-0FFF) or data memory keeps the bits of `mask` at 1 (high) or 0,
    // whatever was written. Any number of them, anywhere.
    enum class Memory { Header, Data };
    void stickBits(Memory memory, qint64 address, quint8 mask, bool high)
    {
        m_stuck.append(Stuck{memory, address, mask, high});
    }
    // Data memory chips smaller than the header says, wired so that the
    // address wraps: a read or write at `address` reaches address modulo
    // `bytes`, as when the top address lines go nowhere. 0: no fault.
    void fitDataMemory(qint64 bytes) { m_fitted = bytes; }
    // While on, the bootloader sends "?" at every plug-in and power-up.
    void promptAtPowerUp(bool on) { m_bootPrompt = on; }
    // While on, the status byte will not take a "q" write: the write is
    // answered as usual but the byte keeps its value (a logger whose
    // battery died under it). The firmware's own changes ("l", "m", "s",
    // "t", the end of a test) still apply.
    void holdStatusByte(bool on) { m_holdStatus = on; }

    // Faults at a byte of the logger's output, counted from now over every
    // byte it sends (echoes, replies, "?", scan lines): after `n` more bytes
    // the next byte does not go out, because
    // - unplugAfterBytes: the logger is pulled out there (as unplug());
    // - restartAfterBytes: the firmware restarts there as at a power-up (a
    //   test stops; "?" when promptAtPowerUp is on), and the rest is lost;
    // - noiseAfterBytes: `noise` goes out on the line there, then the rest.
    // One of each kind at a time; clear() takes them back.
    enum class ByteFault { None, Unplug, Restart, Noise };
    void unplugAfterBytes(qint64 n) { m_unplugAt = m_bytesSent + qMax<qint64>(0, n); }
    void restartAfterBytes(qint64 n) { m_restartAt = m_bytesSent + qMax<qint64>(0, n); }
    void noiseAfterBytes(qint64 n, const QByteArray &noise)
    {
        m_noiseAt = noise.isEmpty() ? -1 : m_bytesSent + qMax<qint64>(0, n);
        m_noise = noise;
    }

    // Keeps counting the bytes sent, so that a fault armed later counts
    // from its own moment.
    void clear()
    {
        const qint64 sent = m_bytesSent;
        *this = SimFaults();
        m_bytesSent = sent;
    }

    // Used by the simulator.
    bool takeNoEcho() { return take(m_noEcho); }
    bool isSilent() const { return m_silent; }
    // Counts a carriage return sent; silence may start after it.
    void countLineSent();
    bool keepsHeaderWrite(int address) const;
    bool keepsDataWrite(qint64 address) const;
    // The byte a write of `byte` at `address` leaves in that memory.
    quint8 stuck(Memory memory, qint64 address, quint8 byte) const;
    // Where a data address lands in the fitted chips.
    qint64 fittedDataAddress(qint64 address) const { return m_fitted > 0 ? address % m_fitted : address; }
    bool bootPrompt() const { return m_bootPrompt; }
    bool takesStatusWrite() const { return !m_holdStatus; }
    // How many of `count` bytes about to be sent go out before a byte fault
    // falls due (`count` when none does).
    qint64 bytesBeforeByteFault(qint64 count) const;
    void countBytesSent(qint64 n) { m_bytesSent += n; }
    // The byte fault due before the next byte, used up; None when none is.
    ByteFault takeByteFault();
    QByteArray noise() const { return m_noise; }
    // Applies the line faults that are switched on to a complete reply line
    // (echoed letter first, without its carriage return).
    QByteArray mangle(QByteArray line);

private:
    static bool take(int &counter);
    static bool hasChecksum(char letter);
    static int addressWidth(char letter);

    int m_noEcho = 0;
    int m_wrongChecksum = 0;
    int m_lowerCase = 0;
    int m_short = 0;
    int m_long = 0;
    int m_otherAddress = 0;
    int m_silenceAfter = 0;
    bool m_silenceArmed = false;
    bool m_silent = false;
    int m_forgetHeader = -1;
    qint64 m_forgetData = -1;
    bool m_bootPrompt = false;
    bool m_holdStatus = false;
    struct Stuck
    {
        Memory memory;
        qint64 address;
        quint8 mask;
        bool high;
    };
    QList<Stuck> m_stuck;
    qint64 m_fitted = 0;
    qint64 m_bytesSent = 0;
    qint64 m_unplugAt = -1;
    qint64 m_restartAt = -1;
    qint64 m_noiseAt = -1;
    QByteArray m_noise;
};
