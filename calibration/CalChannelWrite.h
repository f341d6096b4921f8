#pragma once

#include "calibration/CalComputation.h"
#include "calibration/CalFields.h"

#include <QDate>
#include <functional>

class Dialogs;
class LoggerConnection;
struct ChannelCalRecord;

// Writes the calibration window's channel into the logger: "Save Channel To
// Logger" with its check for a hand-entered slope and offset, and "Reset to
// Factory Default". Every line is composed before the first is sent, so a
// box that cannot be written leaves the logger as it was.
class CalChannelWrite
{
public:
    struct Parts
    {
        LoggerConnection &connection;
        Dialogs &dialogs;
        // The window's progress bar: a value, or -1 to hide it.
        std::function<void(int value)> progress;
        // Compute Cal Factors again (the boxes still hold its last results).
        std::function<void()> recompute;
        // A channel was written: the record before, and as the logger now holds it.
        std::function<void(int channelIndex, const ChannelCalRecord &before, const ChannelCalRecord &after)>
            channelWritten;
    };

    static const QString HandEntryTitle;

    explicit CalChannelWrite(const Parts &parts);

    // True when all sixteen lines were written and the header read back.
    bool save(int channelIndex, CalBoxes &boxes, const CalComputation::State &state, const QDate &today);
    void factoryReset(int channelIndex);

private:
    bool handEntryAccepted(const CalBoxes &boxes, const CalComputation::State &state);
    bool write(int channelIndex, const QStringList &lines, const CalBoxes &boxes);
    bool runOnLink(const std::function<void()> &command);
    void unanticipatedError();

    Parts m_p;
};
