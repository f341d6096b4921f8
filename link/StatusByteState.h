#pragma once

#include "link/IndicatorColour.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

// The logger's status byte taken apart: one flag per bit and how the windows
// show them. Built from a byte alone (plus the scan numbers that tell a
// stopped test from a time-base fault), so the decode is a pure function and
// the commands around it only send, wait and announce.
struct StatusByteState
{
    enum Bit : quint8 {
        VrawLow = 1,
        VBatLow = 2,
        StopOrTimeBase = 4,
        EEInvalid = 8,
        LogEnabled = 16,
        MemFull = 32,
        LogDone = 64,
        DumpEnabled = 128,
    };

    // How one factory label lblSB0-lblSB7 looks; an empty caption keeps the
    // label's own.
    struct BitLabel
    {
        IndicatorColour colour = IndicatorColour::DarkGreen;
        QString caption;
    };

    quint8 value = 0;
    QString text; // the two hexadecimal digits as the logger sent them

    bool supplyLow = false;
    bool batteryLow = false;
    bool stopOrTimeBase = false;
    // Bit 2 with the current scan not past the event scan: a stopped or
    // paused test rather than a time-base fault.
    bool stoppedOrPaused = false;
    bool eepromInvalid = false;
    bool loggingActive = false;
    bool memoryFull = false;
    bool loggingDone = false;
    bool dumpOn = false;

    // Flag names of the set bits in bit order, "_LogEN_DumpEN".
    QString flagNames;
    // The alert text: what the previous read left, then the alerts of bits 0-2.
    QString alertText;
    // Whether the alert label shows alertText, and on which background.
    bool alertShown = false;
    std::optional<IndicatorColour> alertBackground;

    QString testStatus;
    IndicatorColour testStatusColour = IndicatorColour::Orange;

    std::array<BitLabel, 8> labels;

    // priorAlertText is the alert text the previous read left behind; the
    // scan numbers are those last computed from the live block.
    static StatusByteState decode(const QString &text, const QString &priorAlertText,
                                  qint64 currentScanNumber, qint64 eventScanNumber);
};
