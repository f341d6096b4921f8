#pragma once

#include "logger/DisplayMode.h"

#include <QDateTime>
#include <QObject>
#include <functional>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class EventLoop;
class LoggerConnection;
class QLabel;
class RealTimeDisplay;

// The four real-time positions of the Data Logger tab: each shows the latest
// reading of the channel named in its Defaults-tab field, from the running
// real-time display or from a single reading taken on request
// (subCurrentReading).
class RealTimePositions : public QObject
{
    Q_OBJECT

public:
    static constexpr int Positions = 4;

    struct Parts
    {
        Ui::FrmStartup &ui;
        LoggerConnection &connection;
        Dialogs &dialogs;
        EventLoop &loop;
        RealTimeDisplay &display;
        // The status view's "Sampling Period" text.
        std::function<QString()> samplingPeriod;
    };

    RealTimePositions(const Parts &parts, QObject *parent);

    // Rebuilt whenever the Data Logger tab is selected.
    void rebuildCaptions();
    void subCurrentReading();
    // A reading the real-time display has just shown.
    void readingShown(int channel, const QDateTime &time, double value, bool clip, DisplayMode mode);
    // Every completed line; only the answer to our own "r" is taken.
    void lineReceived(const QString &line);

    // The channel of position 1-4, or 0 when its field names none.
    int channelOf(int position) const;

private:
    void takeReading();
    void clearValues();
    QLabel *caption(int position) const;
    QLabel *value(int position) const;

    Parts m_p;
    bool m_requestOutstanding = false;
};
