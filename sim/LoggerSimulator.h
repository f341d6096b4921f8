#pragma once

#include "platform/Port.h"
#include "sim/ChannelSignals.h"
#include "sim/LoggerClock.h"
#include "sim/LoggerImage.h"
#include "sim/SimFaults.h"

#include <QByteArray>
#include <functional>
#include <memory>

class CommandFramer;
class EventLoop;
class FirmwareCommands;
class LoggingEngine;
class Timer;

// The data logger at the far end of the serial line: its firmware, its
// memories and the handshake lines of its interface adapter. It runs on a
// LoggerImage (header bytes 0000-0FFF, data memory, status byte) and on the
// clock of an EventLoop, so the same logger serves virtual-time tests, the
// benchmarks and the demo.
//
// Wire protocol (one command at a time, 8N1):
// - The letter is echoed as soon as it arrives; the body is collected up to
//   the carriage return; then the answer follows, ended by a carriage
//   return. Letters are recognised between commands only: inside a body any
//   byte, "G" too, is part of the body. Reads answer a line led by the
//   echoed letter:
//     "a" AAAA#<32 hex>CC   40 characters    "c" AAAA#<16 chars>CC   24
//     "e" AAAAAA#<32 hex>CC 42 characters    "p" #SSCC                6
//   with CC the checksum (sum of the characters after the letter, modulo
//   256, two upper-case digits). Every other command answers a bare carriage
//   return after its echo. "G" is taken raw: no echo, no answer; it restarts
//   the firmware (framing state, LEDs, pending soft reset), never the memory,
//   the baud rate or a running test.
// - "b", "d", "f", "q" carry a checksum; a write whose checksum or address
//   is wrong is not applied and is answered like any write.
// - the 32 data digits of "b" and "f" are converted as the firmware does,
//   without a check: 0-9, A-F and a-f are their values, any other character
//   counts as its low four bits (a blank as 0, "." as E, "G" as 7). A body
//   padded with blanks and dots is stored so, and its read-back shows the
//   digits the logger made of it.
// - "r": "r", then six characters per installed channel k, "k:" + three hex
//   digits of the count + ",", e.g. "1:0A3,", so the count stands at
//   positions 6(k-1)+4 to 6(k-1)+6, then the trailer "#" + checksum (of all
//   that follows the letter, as on every line): 6 x channels + 4 characters. With dump output on, each
//   scan of a running test sends the same line led by "l" (after the command
//   in progress, if any, has been answered).
// - "R": "R#" + battery, raw supply and processor temperature as three
//   hex-digit A/D counts separated by "," + checksum, e.g. "R#5DC,802,73A7C".
// - "u": after its answer, the logger takes the rate of the next byte it
//   hears. Otherwise a byte sent at a rate the receiver does not use arrives
//   garbled (see garbled()).
//
// Status byte: bit 4 is the logging state itself: "l", or a "q" write that
// sets bit 4, starts a test from line 0020; "m", or a "q" write that clears
// it, stops it. Bit 7 is the dump output ("t" on, "s" off, or by "q").
// The engine sets bits 0/1 (supply / battery below the trip levels of 0050),
// 5 (memory full) and 6 (all scans taken); logging switched on when 0020
// has no scans left sets bit 6 beside bit 4 (0x50). "o" then "g" is a soft
// reset: LEDs off, and a test whose bit 4 is set continues from line 0020.
// A "g" not preceded by "o" does nothing.
//
// Limits: the logger takes no calibration scans. The calibration interval of
// 0010/0020 is stored and read back as written, but every scan is an ordinary
// one, so a test's memory holds the same scans whatever interval was set.
//
// Bad input, and what the firmware does with it:
// - unknown letters (also CR, LF, garbled bytes) between commands: ignored,
//   no echo;
// - a body that stops before its carriage return: dropped without an answer
//   after BodyTimeoutMs of silence;
// - a body longer than its command allows: dropped without an answer; the
//   rest up to the next carriage return is ignored;
// - an address that is not 4 (header) or 6 (data) hexadecimal digits, or a
//   header line reaching past 0FFF: reads answer a bare carriage return,
//   writes are not applied (answered with the carriage return);
// - a data address inside 6 digits but beyond the installed memory: reads
//   see FF bytes there (nothing answers on the bus), writes there are lost;
// - "d" takes exactly 16 characters after "#", whatever their codes (a text
//   line may hold any byte); "h"/"i" with another LED than 2 or 3, or "q"
//   with bad digits: nothing changes, the carriage return is answered.
class LoggerSimulator
{
public:
    static constexpr int PowerUpBaud = 9600;
    static constexpr int BodyTimeoutMs = 2000;

    // Bytes the logger puts on the line, at its current rate.
    using OutputHandler = std::function<void(const QByteArray &bytes, int baud)>;
    // CtsChange, DsrChange, CdChange, Ring and the line errors.
    using LineHandler = std::function<void(Port::Event)>;
    // The memories (header, data, status byte) changed.
    using MemoryHandler = std::function<void()>;

    explicit LoggerSimulator(EventLoop &loop, const LoggerImage &image = LoggerImage());
    ~LoggerSimulator();
    LoggerSimulator(const LoggerSimulator &) = delete;
    LoggerSimulator &operator=(const LoggerSimulator &) = delete;

    // Replaces the memories; a test whose status byte says logging goes on.
    // The logger's clock moves on to the image's when that is later (it
    // never runs backwards). With the schedule the image was saved with, the
    // test takes every scan that fell due between then and now, as if the
    // logger had kept logging meanwhile, and runs on in its rhythm (returns
    // how many scans that was); without one (an older file), it goes on from
    // line 0020 as after a restart. The logger is left idle between
    // commands. A header of another size than 4096 bytes is cut or padded
    // with zeros.
    int loadImage(const LoggerImage &image);
    const LoggerImage &image() const { return m_image; }
    // The memories as they are to be kept: the live block brought up to
    // date, stamped with the logger's clock and the running test's schedule.
    LoggerImage imageToKeep();
    const LoggerClock &clock() const { return m_clock; }
    // Told after each command, scan or power-up that changed the memories,
    // so that they can be kept (a demo logger's image file).
    void setMemoryChangedHandler(MemoryHandler handler) { m_memoryChanged = std::move(handler); }

    // --- The wire (used by SimPort) ---
    void setOutputHandler(OutputHandler handler) { m_output = std::move(handler); }
    void setLineHandler(LineHandler handler) { m_lines = std::move(handler); }
    // One byte from the PC, sent at `baud` in 8N1.
    void receive(quint8 byte, int baud);
    // The logger's rate.
    int baud() const { return m_baud; }
    // What a UART running at another rate makes of a byte.
    static quint8 garbled(quint8 byte);

    // Handshake lines as the PC's port reads them. CTS asserted means busy
    // or no logger. Reading CTS counts the reading, for the flicker fault.
    bool readCts();
    bool ctsAsserted() const;
    bool dsr() const { return m_interfaceAttached; }
    bool cd() const { return m_carrierDetect; }

    // --- The bench ---
    // Pulling the logger out: CTS busy for good, nothing is heard or sent.
    // The firmware keeps running on its battery (a test goes on logging).
    void unplug();
    // Plugging it in again: CTS ready, the logger back at PowerUpBaud, and
    // the bootloader's "?" when that fault is on.
    void plugIn();
    bool isPluggedIn() const { return m_pluggedIn; }
    // Battery installed while plugged in: a full firmware restart at
    // PowerUpBaud (a test stops: the time base was lost), "?" when asked.
    void powerUp();
    void setInterfaceAttached(bool attached);
    void setCarrierDetect(bool held);

    // --- What the converter reads, and misbehaviour ---
    ChannelSignals &inputs() { return m_inputs; }
    SimFaults &faults() { return m_faults; }
    // Raises a line event on the PC's port: Framing, Overrun,
    // ReceiveOverflow, Parity, Ring, or CdChange (which also flips CD).
    void raiseLineError(Port::Event event);
    // CTS busy for `ns`, then ready again; the logger still answers.
    void holdCtsBusy(qint64 ns);
    // CTS alternates busy/ready every `readsPerLevel` readings, starting
    // busy, until `settleAfterReads` readings or `settleAfterNs` of loop time
    // have passed (either may be -1 for never); then it shows its true level.
    void flickerCts(int readsPerLevel, int settleAfterReads, qint64 settleAfterNs = -1);

    // The logger's clock, and with it the logging engine, runs `scale`
    // seconds per second of loop time (1 by default); a running test's next
    // scan is timed anew.
    void setTimeScale(double scale);

    // --- Observation ---
    quint8 statusByte() const { return m_image.statusByte; }
    bool isLogging() const;
    bool ledOn(int led) const;
    bool followsNextRate() const { return m_followNextRate; }

private:
    int start(const LoggerImage &image);
    void execute();
    void restartFirmware();
    void send(const QByteArray &bytes);
    void putOnLine(const QByteArray &bytes);
    void sendLine(QByteArray line);
    void sendScanLine(const QByteArray &line);
    void flushPending();
    void changeLine(Port::Event event);
    bool trueCtsAsserted() const;
    void memoryChanged();

    EventLoop &m_loop;
    LoggerClock m_clock;
    LoggerImage m_image;
    ChannelSignals m_inputs;
    SimFaults m_faults;
    std::unique_ptr<LoggingEngine> m_engine;
    std::unique_ptr<FirmwareCommands> m_commands;
    std::unique_ptr<CommandFramer> m_framer;
    std::unique_ptr<Timer> m_ctsHold;
    OutputHandler m_output;
    LineHandler m_lines;
    MemoryHandler m_memoryChanged;
    QByteArray m_pendingLines;

    int m_baud = PowerUpBaud;
    bool m_followNextRate = false;
    bool m_pluggedIn = true;
    bool m_interfaceAttached = true;
    bool m_carrierDetect = false;
    bool m_ctsHeldBusy = false;
    bool m_executing = false;

    struct Flicker
    {
        bool on = false;
        int readsPerLevel = 1;
        int settleAfterReads = -1;
        qint64 settleAtNs = -1;
        qint64 reads = 0;
    } m_flicker;
};
