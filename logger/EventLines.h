#pragma once

#include "logger/EventCapture.h"

#include <QDateTime>
#include <QString>

// The lines that open a download's comma-separated file, worked out from a
// captured live block and the status byte: the capture time, the first
// status event's scan, the status flags and the first-scan note. Pure, so a
// download rebuilt from its RAW file says the same as the one read live.
struct EventLines
{
    // "Header Downloaded:,...", an empty line and "Status Flags set at
    // Download:,...", each ended by CR LF.
    QString lines;
    QString firstScanNote;
    qint64 eventScanNumber = 0;
    qint64 currentScanNumber = 0;
    // The event scan when the logger noted an event pointer, else the
    // current scan; below 1: no event.
    qint64 firstEventScan = 0;

    // wordsPerScan: active channels, plus 2 with a monitor channel.
    static EventLines build(const LiveBlockValues &values, const EventCapture::StatusInputs &status,
                            const QDateTime &capturedAt, int wordsPerScan);

private:
    void computeScanNumbers(const LiveBlockValues &values, int wordsPerScan);
    void addEventLines(const EventCapture::StatusInputs &status);
    QString statusFlags(quint8 status) const;
};
