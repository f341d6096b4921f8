#pragma once

#include "calibration/CalWindowHooks.h"
#include "calibration/CalibrationLog.h"

#include <QObject>

class AccessControl;
class QAbstractButton;
class QLabel;
class QProgressBar;
class QTabWidget;
class QTableWidget;
class Dialogs;
class EventLoop;
class LoggerConnection;
struct MainWindowState;

// The main window's "Cal Data" tab: the grid of every installed channel's
// calibration, the double-click and Perform Calibration that open the
// calibration window for one channel, and Save to logger, which writes all
// channels from the records and adds them to the calibration log.
class CalDataTab : public QObject
{
    Q_OBJECT

public:
    // The tab's controls in the main window.
    struct Controls
    {
        QTabWidget &tabs;
        QTableWidget &grid;
        QAbstractButton &perfCal;
        QAbstractButton &saveToLogger;
        QLabel &chanNum;
        QProgressBar &progress;
    };

    struct Parts
    {
        Controls ui;
        MainWindowState &state;
        LoggerConnection &connection;
        Dialogs &dialogs;
        AccessControl &access;
        EventLoop &loop;
    };

    explicit CalDataTab(const Parts &parts, QObject *parent = nullptr);

    // The calibration window, once it exists; Perform Calibration is offered from then on.
    void setCalWindow(CalWindowHooks hooks);

    // The tab was selected: the highlighted row is let go and the grid filled.
    void tabSelected();
    void subShowCalData();
    void MFGCal_DblClick(int row);
    void CmdPerfCal_Click();
    void cmdSaveToLogger_Click();
    // Adds channels written to the logger to the calibration log, and says
    // so when the log cannot be written.
    void appendToLog(const QList<CalibrationLog::Entry> &entries);

private:
    bool confirmedLogger();
    bool stopLoggingAccepted();
    void saveAllChannels();
    void showChannelProgress(bool shown);

    Parts m_p;
    CalWindowHooks m_calWindow;
};
