#include "console/RealTimeScanDisplays.h"

#include "console/IndicatorPainter.h"
#include "logger/RealTimeConversion.h"
#include "platform/Dialogs.h"
#include "ui_FrmStartup.h"

#include <cmath>
#include <initializer_list>

RealTimeScanDisplays::RealTimeScanDisplays(Ui::FrmStartup &ui, Dialogs &dialogs)
    : m_ui(ui)
    , m_dialogs(dialogs)
{
}

void RealTimeScanDisplays::noteReading(const QDateTime &now, bool following, double scanPeriod)
{
    m_previousReading = m_lastReading;
    m_lastReading = now;
    m_ui.lblLastScanTime->setText(now.toString(QStringLiteral("hh:mm:ss")));
    if (!m_previousReading.isValid())
        return;
    m_ui.lblPrevScanTime->setText(m_previousReading.toString(QStringLiteral("hh:mm:ss")));
    const double interval = double(m_previousReading.msecsTo(now)) / 1000.0;
    m_ui.lblScanInterval->setText(RealTimeConversion::grouped(interval, 2));
    if (!following)
        return;
    // A scan more than a second (or a tenth of the period) off its period is late or early.
    const double allowed = qMax(1.0, scanPeriod / 10.0);
    IndicatorPainter::paint(m_ui.lblScanInterval, std::fabs(interval - scanPeriod) <= allowed
                                                      ? IndicatorColour::Green
                                                      : IndicatorColour::Red);
}

void RealTimeScanDisplays::ChkShowScans_Click(bool ticked, double presetPeriod, bool shown)
{
    if (!ticked) {
        show(shown);
        return;
    }
    if (presetPeriod < 5) {
        m_dialogs.Message_Box(QStringLiteral("Scan number display does not work at scan intervals <5 seconds."),
                              Dialogs::OkOnly, QStringLiteral("ScanNumb Display"));
        m_ui.ChkShowScans->setChecked(false);
        return;
    }
    m_lastScanNumber.clear();
    for (QLabel *label : {m_ui.lblLastScanNum, m_ui.lblPrevScanNum, m_ui.lblScanNumber}) {
        label->clear();
        label->show();
    }
    for (QLabel *label : {m_ui.lblLastScanNumCaption, m_ui.lblPrevScanNumCaption, m_ui.lblScanNumberCaption})
        label->show();
}

bool RealTimeScanDisplays::showsScanNumbers() const
{
    return m_ui.ChkShowScans->isChecked();
}

void RealTimeScanDisplays::showScanNumber(qint64 scan)
{
    const QString text = QString::number(scan);
    m_ui.lblPrevScanNum->setText(m_lastScanNumber);
    m_ui.lblLastScanNum->setText(text);
    m_ui.lblScanNumber->setText(text);
    m_lastScanNumber = text;
}

void RealTimeScanDisplays::hide()
{
    for (QLabel *label : {m_ui.lblLastScanTime, m_ui.lblPrevScanTime, m_ui.lblScanInterval, m_ui.lblLastScanNum,
                          m_ui.lblPrevScanNum, m_ui.lblScanNumber, m_ui.lblCurrentSetup})
        label->clear();
    IndicatorPainter::unpaint(m_ui.lblScanInterval);
    m_lastReading = m_previousReading = QDateTime();
    m_lastScanNumber.clear();
    {
        const QSignalBlocker quiet(m_ui.ChkShowScans);
        m_ui.ChkShowScans->setChecked(false);
    }
    show(false);
}

void RealTimeScanDisplays::show(bool shown)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_ui.lblLastScanCaption, m_ui.lblLastScanTime, m_ui.lblPrevScanCaption, m_ui.lblPrevScanTime,
             m_ui.lblScanIntervalCaption, m_ui.lblScanInterval, m_ui.lblCurrentSetup, m_ui.lblCurrentSetupUnits,
             m_ui.ChkShowScans})
        w->setVisible(shown);
    const bool numbers = shown && m_ui.ChkShowScans->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_ui.lblLastScanNumCaption, m_ui.lblLastScanNum,
                                                       m_ui.lblPrevScanNumCaption, m_ui.lblPrevScanNum,
                                                       m_ui.lblScanNumberCaption, m_ui.lblScanNumber})
        w->setVisible(numbers);
}
