#include "link/StatusByteState.h"

#include "logger/FunctionsSubs.h"

namespace {

using Colour = IndicatorColour;

// Bits 0 and 1 make the alert label red; bit 2 makes it yellow unless one of
// them already has.
void raiseAlert(StatusByteState &s, const QString &alert, Colour background)
{
    s.alertText += alert;
    s.alertShown = true;
    if (s.alertBackground != Colour::Red)
        s.alertBackground = background;
}

void decodeBit(StatusByteState &s, int bit, bool set, qint64 currentScan, qint64 eventScan)
{
    StatusByteState::BitLabel &label = s.labels[size_t(bit)];
    label.colour = Colour::DarkGreen;
    switch (bit) {
    case 0:
        s.supplyLow = set;
        if (set) {
            label.colour = Colour::Red;
            s.flagNames += QStringLiteral("_VrawLO");
            raiseAlert(s, QStringLiteral("Power(Vraw)-LO -- "), Colour::Red);
        }
        break;
    case 1:
        s.batteryLow = set;
        if (set) {
            label.colour = Colour::Red;
            s.flagNames += QStringLiteral("_VBatLO");
            raiseAlert(s, QStringLiteral("Low-Battery -- "), Colour::Red);
        }
        break;
    case 2:
        s.stopOrTimeBase = set;
        s.stoppedOrPaused = set && !(currentScan > eventScan);
        if (set) {
            label.colour = Colour::Orange;
            if (s.stoppedOrPaused) {
                s.flagNames += QStringLiteral("_Stop/Pause");
                raiseAlert(s, QStringLiteral("Test Stopped/Paused -- "), Colour::Yellow);
            } else {
                s.flagNames += QStringLiteral("_TimeErr");
                raiseAlert(s, QStringLiteral("TimeBase Error -- "), Colour::Yellow);
            }
        }
        break;
    case 3:
        s.eepromInvalid = set;
        if (set) {
            label.colour = Colour::Red;
            s.flagNames += QStringLiteral("_EEInvalid");
        }
        break;
    case 4:
        s.loggingActive = set;
        label.caption = set ? QStringLiteral("Logging ON") : QStringLiteral("Logging OFF");
        s.testStatus = set ? QStringLiteral("Logging Enabled") : QStringLiteral("Logging Disabled");
        s.testStatusColour = set ? Colour::Green : Colour::Orange;
        if (set) {
            label.colour = Colour::Orange;
            s.flagNames += QStringLiteral("_LogEN");
        }
        break;
    case 5:
        s.memoryFull = set;
        if (set) {
            label.colour = Colour::Yellow;
            s.flagNames += QStringLiteral("_MemFull");
        }
        break;
    case 6:
        s.loggingDone = set;
        if (set) {
            label.colour = Colour::Orange;
            s.flagNames += QStringLiteral("_LogDone");
            // Decoded after bit 4, so a finished test reads as done.
            s.testStatus = QStringLiteral("Test Done");
            s.testStatusColour = Colour::Yellow;
        }
        break;
    case 7:
        s.dumpOn = set;
        label.caption = set ? QStringLiteral("Dump ON") : QStringLiteral("Dump OFF");
        if (set) {
            label.colour = Colour::Orange;
            s.flagNames += QStringLiteral("_DumpEN");
        }
        break;
    }
}

} // namespace

StatusByteState StatusByteState::decode(const QString &text, const QString &priorAlertText,
                                        qint64 currentScanNumber, qint64 eventScanNumber)
{
    StatusByteState s;
    s.text = text;
    s.value = quint8(fnHexToLong(text) & 0xFF);
    s.alertText = priorAlertText;
    for (int bit = 0; bit < 8; ++bit)
        decodeBit(s, bit, (s.value >> bit) & 1, currentScanNumber, eventScanNumber);
    return s;
}
