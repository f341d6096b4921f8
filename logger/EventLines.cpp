#include "logger/EventLines.h"

#include "logger/FunctionsSubs.h"

namespace {
// A waiting time at or above this is a first scan the firmware took 4:15 early.
constexpr quint32 LateFirstScanWait = 256;
const QString LineEnd = QStringLiteral("\r\n");
} // namespace

EventLines EventLines::build(const LiveBlockValues &values, const EventCapture::StatusInputs &status,
                             const QDateTime &capturedAt, int wordsPerScan)
{
    EventLines result;
    result.computeScanNumbers(values, wordsPerScan);
    result.lines = QStringLiteral("Header Downloaded:,")
        + capturedAt.toString(QStringLiteral("yyyy MM dd hh:mm:ss"));
    result.addEventLines(status);
    result.firstScanNote = values.preset.waits.value < LateFirstScanWait
        ? QStringLiteral("NOTE: Normal First Scan, On Time!")
        : QStringLiteral("NOTE: possible False First Scan, 4:15 early!");
    return result;
}

void EventLines::computeScanNumbers(const LiveBlockValues &values, int wordsPerScan)
{
    // Without an event, or without channels, there is nothing to divide by;
    // numbers left from an earlier logger would mislead the flags line.
    if (values.eventChannels.value == 0 || wordsPerScan <= 0) {
        eventScanNumber = 0;
        currentScanNumber = 0;
    } else {
        eventScanNumber = scanNumberAt(values.eventPointer.value, wordsPerScan);
        currentScanNumber = scanNumberAt(values.active.pointer.value, wordsPerScan);
    }
    firstEventScan = values.eventPointer.value > 0 ? eventScanNumber : currentScanNumber;
}

void EventLines::addEventLines(const EventCapture::StatusInputs &status)
{
    const bool supplyAlert = status.value & 0x03;
    if (firstEventScan >= 1) {
        lines += supplyAlert ? QStringLiteral(",WARNING: A Status Event occured. ") : QStringLiteral(",");
        lines += QStringLiteral("First event noted occured at scan number ") + QString::number(firstEventScan)
            + u'.';
    } else {
        lines += u',';
    }
    lines += LineEnd + LineEnd + QStringLiteral("Status Flags set at Download:,") + status.text
        + statusFlags(status.value) + LineEnd;
}

QString EventLines::statusFlags(quint8 status) const
{
    QString flags;
    if (status & 0x01)
        flags += QStringLiteral(" Power (Vraw) --,");
    if (status & 0x02)
        flags += QStringLiteral(" Battery Low --,");
    if (status & 0x04) {
        flags += currentScanNumber > eventScanNumber ? QStringLiteral(" TimeBase Errorxx --,")
                                                     : QStringLiteral("Test Stopped/Paused -- ,");
    }
    if (status & 0x08)
        flags += QStringLiteral(" EEProm Invalid --,");
    if (status & 0x10)
        flags += QStringLiteral(" Logging Enabled --,");
    if (status & 0x20)
        flags += QStringLiteral(" Memory Full --,");
    if (status & 0x40)
        flags += QStringLiteral(" All Scans Taken, normal end of test");
    return flags;
}
