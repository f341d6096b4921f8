#pragma once

#include <QDateTime>
#include <QString>

namespace Ui {
class FrmStartup;
}
class Dialogs;

// The Real Time tab's scan-time displays (this and the previous reading,
// the measured interval between them) and, on request, the logger's scan
// numbers: shown while a running test is followed.
class RealTimeScanDisplays
{
public:
    RealTimeScanDisplays(Ui::FrmStartup &ui, Dialogs &dialogs);

    // Hidden and emptied, "Show Scan #'s?" unticked.
    void hide();
    void show(bool shown);
    // A reading arrived at `now`; following a test of `scanPeriod` seconds,
    // the measured interval is coloured by how far it is off the period.
    void noteReading(const QDateTime &now, bool following, double scanPeriod);
    // Ticking needs a preset scan period of 5 s or more; `shown` tells
    // whether the scan-time displays are up.
    void ChkShowScans_Click(bool ticked, double presetPeriod, bool shown);
    bool showsScanNumbers() const;
    void showScanNumber(qint64 scan);

private:
    Ui::FrmStartup &m_ui;
    Dialogs &m_dialogs;
    QDateTime m_lastReading;
    QDateTime m_previousReading;
    QString m_lastScanNumber;
};
