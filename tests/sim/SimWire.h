#pragma once

#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"

#include <QByteArray>
#include <QList>

// A test bench: the simulated logger on a SimPort under virtual time, and a
// PC side that speaks raw bytes and keeps everything it receives.
class SimWire
{
public:
    // A logger with identity lines, `channels` installed channels and
    // `dataBytes` of erased data memory; page 00 empty, status byte 0.
    static LoggerImage minimalImage(int channels = 4, int dataBytes = 4096);

    explicit SimWire(const LoggerImage &image = minimalImage());

    // Sends the letter, waits for the echo, sends the body and a carriage
    // return and returns all that came back within the reply time.
    QByteArray exchange(char letter, const QByteArray &body = {});
    // The same with the body's checksum appended, as the PC's writes do.
    QByteArray write(char letter, const QByteArray &body);
    // Everything received since the last call.
    QByteArray takeReceived();
    // Runs the loop for `seconds` of virtual time.
    void wait(double seconds) { loop.advanceSeconds(seconds); }

    // Data memory as read back with "e", `bytes` from address 0.
    QByteArray readData(int bytes);

    // Two upper-case hex digits of the byte sum, as every line carries.
    static QByteArray checksum(const QByteArray &covered);
    // True when `line` (echoed letter first, no carriage return) ends in the
    // checksum of the characters between its letter and the checksum.
    static bool checksumOk(const QByteArray &line);

    VirtualEventLoop loop;
    LoggerSimulator logger;
    SimPort port;
    QList<Port::Event> events;

private:
    QByteArray m_received;
};
