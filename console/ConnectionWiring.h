#pragma once

#include <functional>

#include <QObject>

namespace Ui {
class FrmStartup;
}
class LoggerConnection;
class LoggerStatusView;
class SetupRules;
class StartupController;
class frmComm;
class frmDebugPrint;
struct SetupState;

// Connects one logger connection to the main window and the communications
// window: indicators, status texts, the status view, and the hooks through
// which the link and the header read reach the Setup tab and the start-up.
class ConnectionWiring : public QObject
{
    Q_OBJECT

public:
    struct Windows
    {
        Ui::FrmStartup &ui;
        frmComm &comm;
        // The trace window, shown while MONITOR is ticked.
        frmDebugPrint &debugPrint;
        LoggerStatusView &view;
        SetupRules &setupRules;
        SetupState &setup;
        StartupController &startup;
        // Hides the calibration window when the logger is gone.
        std::function<void()> hideCalibrationWindow;
    };

    ConnectionWiring(LoggerConnection &connection, const Windows &windows);

private:
    void wireIndicators();
    void wireTraffic();
    void wireConnectionEvents();
    void wireDebugSwitches();
    void wireStatusByte();
    void wireHeaderRead();
    void wireCapture();
    void wireButtons();
    void onLoggerLost();

    LoggerConnection &m_c;
    Windows m_w;
};
