#include "console/LinkLabelClicks.h"

#include "console/LabelActivator.h"
#include "logger/LoggerConnection.h"
#include "ui_FrmStartup.h"
#include "ui_frmComm.h"

LinkLabelClicks::LinkLabelClicks(LoggerConnection &connection, Ui::FrmStartup &ui, Ui::frmComm &comm,
                                 QObject *parent)
    : QObject(parent)
    , m_c(connection)
{
    LabelActivator::attach(comm.lblToggleDTR, [this] { lblToggleDTR_Click(); });
    LabelActivator::attach(comm.lblToggleRTS, [this] { lblToggleRTS_Click(); });
    LabelActivator::attach(comm.lblStatusDSR, [this] { m_c.link.subStatusDSR(); });
    LabelActivator::attach(comm.lblStatusDCD, [this] { m_c.link.subStatusDCD(); });
    LabelActivator::attach(comm.LblCTS, [this] { m_c.link.subCheckCTS(); });
    // Every wait of the link ends as soon as the flag is set.
    LabelActivator::attach(comm.LblAbort, [this] { m_c.link.state().commAbort = true; });
    LabelActivator::attach(ui.lblLgrStatus, [this] { lblLgrStatus_Click(); });
    LabelActivator::attach(ui.LblStatusLine, [this] { m_c.statusByte.subSBRead(); });
}

void LinkLabelClicks::lblToggleDTR_Click()
{
    m_c.link.port().dtr() ? m_c.link.subDTROff() : m_c.link.subDTROn();
}

void LinkLabelClicks::lblToggleRTS_Click()
{
    m_c.link.port().rts() ? m_c.link.subRTSOff() : m_c.link.subRTSOn();
}

void LinkLabelClicks::lblLgrStatus_Click()
{
    m_c.link.state().loggerConnected = false;
    m_c.link.subCheckCTS();
}
