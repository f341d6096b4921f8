#pragma once

#include "sim/ChannelSignals.h"

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

class LoggerClock;
class LoggingEngine;
class SimFaults;
struct LoggerImage;

// What the logger's firmware does with a complete command, and the line it
// answers: the echoed letter followed by the reply, without the carriage
// return. A command with nothing to report answers its letter alone. The
// rules for bad bodies are those listed in LoggerSimulator.
class FirmwareCommands
{
public:
    FirmwareCommands(LoggerImage &image, LoggingEngine &engine, ChannelSignals &inputs,
                     const LoggerClock &clock, const SimFaults &faults);

    // Called by "u": the logger follows the rate of the next byte.
    void setFollowNextRate(std::function<void()> handler) { m_followNextRate = std::move(handler); }

    QByteArray execute(char letter, const QByteArray &body);
    // A real-time line ("r", or "l" after a scan) of the given sample.
    QByteArray scanLine(char letter, const ChannelSignals::Sample &sample) const;
    // Firmware restart: LEDs off, no soft reset pending.
    void restart();
    bool ledOn(int led) const;

    // Two upper-case hexadecimal digits of the byte sum of `covered`.
    static QByteArray checksum(QByteArrayView covered);
    // Installed channels of line 0210 (offset 14), 0-8.
    static int installedChannels(const QByteArray &header);

private:
    QByteArray readHeaderHex(const QByteArray &body);
    QByteArray readHeaderText(const QByteArray &body);
    QByteArray readData(const QByteArray &body);
    void writeHeader(const QByteArray &body, bool text);
    void writeData(const QByteArray &body);
    void writeStatus(const QByteArray &body);
    void switchLed(const QByteArray &body, bool on);
    void softReset();
    QByteArray statusLine() const;
    QByteArray supplyLine() const;

    LoggerImage &m_image;
    LoggingEngine &m_engine;
    ChannelSignals &m_inputs;
    const LoggerClock &m_clock;
    const SimFaults &m_faults;
    std::function<void()> m_followNextRate;
    bool m_led2 = false;
    bool m_led3 = false;
    bool m_softResetArmed = false;
};
