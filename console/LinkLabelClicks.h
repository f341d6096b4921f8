#pragma once

#include <QObject>

namespace Ui {
class FrmStartup;
class frmComm;
}
class LoggerConnection;

// The labels that act on the link when clicked, or activated from the
// keyboard: on the communications window the DTR and RTS indicators toggle
// their line, the DSR and CD indicators read theirs again, CTS checks the
// connection and ABORT ends the exchange waiting now; on the main
// window the logger status label checks the connection anew and the status
// line reads the status byte.
class LinkLabelClicks : public QObject
{
public:
    LinkLabelClicks(LoggerConnection &connection, Ui::FrmStartup &ui, Ui::frmComm &comm,
                    QObject *parent);

private:
    void lblToggleDTR_Click();
    void lblToggleRTS_Click();
    void lblLgrStatus_Click();

    LoggerConnection &m_c;
};
