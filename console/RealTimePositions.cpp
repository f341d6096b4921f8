#include "console/RealTimePositions.h"

#include "console/RealTimeDisplay.h"
#include "console/RealTimeGrid.h"
#include "logger/LoggerConnection.h"
#include "logger/RealTimeConversion.h"
#include "logger/RealTimeLine.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "ui_FrmStartup.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

RealTimePositions::RealTimePositions(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
    connect(m_p.ui.lblCurrentReading, &QPushButton::clicked, this, &RealTimePositions::subCurrentReading);
    connect(&m_p.display, &RealTimeDisplay::readingShown, this, &RealTimePositions::readingShown);
    for (QLineEdit *field : {m_p.ui.txtRegChanPosition1, m_p.ui.txtRegChanPosition2, m_p.ui.txtRegChanPosition3,
                             m_p.ui.txtRegChanPosition4}) {
        // Each finished edit of a position field reads the logger once, not
        // every keystroke.
        connect(field, &QLineEdit::editingFinished, this, [this] {
            rebuildCaptions();
            if (m_p.connection.state.loggerConnected)
                subCurrentReading();
        });
    }
}

QLabel *RealTimePositions::caption(int position) const
{
    QLabel *const labels[] = {m_p.ui.lblRTCaptionPosition1, m_p.ui.lblRTCaptionPosition2,
                              m_p.ui.lblRTCaptionPosition3, m_p.ui.lblRTCaptionPosition4};
    return labels[position - 1];
}

QLabel *RealTimePositions::value(int position) const
{
    QLabel *const labels[] = {m_p.ui.lblRTPosition1, m_p.ui.lblRTPosition2, m_p.ui.lblRTPosition3,
                              m_p.ui.lblRTPosition4};
    return labels[position - 1];
}

int RealTimePositions::channelOf(int position) const
{
    QLineEdit *const fields[] = {m_p.ui.txtRegChanPosition1, m_p.ui.txtRegChanPosition2,
                                 m_p.ui.txtRegChanPosition3, m_p.ui.txtRegChanPosition4};
    bool ok = false;
    const int channel = fields[position - 1]->text().trimmed().toInt(&ok);
    return ok && channel >= 1 && channel <= LoggerHeader::ChannelBlocks ? channel : 0;
}

void RealTimePositions::rebuildCaptions()
{
    const LoggerHeader &header = m_p.connection.header;
    const DisplayMode mode = m_p.display.displayMode();
    for (int p = 1; p <= Positions; ++p) {
        const int n = channelOf(p);
        if (n == 0) {
            caption(p)->setText(QStringLiteral("Ch: "));
            continue;
        }
        const QString unit = mode == DisplayMode::TrueMillivolts ? QStringLiteral("Tru mV")
                                                                 : RealTimeGrid::unitText(header, n, mode);
        caption(p)->setText(QStringLiteral("Ch") + QString::number(n) + QStringLiteral(": ")
                            + header.channel[size_t(n - 1)].location + u' ' + unit);
    }
}

void RealTimePositions::subCurrentReading()
{
    // The captions name the channels in the mode the reading comes in.
    rebuildCaptions();
    const bool logging = m_p.connection.statusByte.loggingActive();
    const QString firmware = m_p.connection.header.firmwareVersion;
    const bool asks = firmware.contains(QStringLiteral("Z820")) || firmware.contains(QStringLiteral("Z81"))
                      || firmware.contains(QStringLiteral("Z80"));
    if (logging && asks) {
        const int answer = m_p.dialogs.Message_Box(
            QStringLiteral("WARNING!  Logging is ENABLED!   WARNING!") + CrLf + CrLf
                + QStringLiteral("Click YES to add this data to your test file.") + CrLf
                + QStringLiteral("This will invalidate the reported times on all future scans!") + CrLf
                + QStringLiteral("(by the scan interval: ") + m_p.samplingPeriod() + u')' + CrLf + CrLf
                + QStringLiteral("CONTINUE?  (NO to abort)") + CrLf,
            Dialogs::YesNo, QStringLiteral("WARNING--/r/ write data error"));
        if (answer != Dialogs::Yes) {
            clearValues();
            return;
        }
    }
    takeReading();
}

void RealTimePositions::takeReading()
{
    // As the link's one sequence: never in the middle of a header read.
    m_p.connection.link.sequences().runCommand([this] {
        m_p.connection.statusByte.subEnableDump();
        if (m_p.connection.state.commAbort)
            return;
        m_requestOutstanding = true;
        m_p.connection.transport.sendCommand(QStringLiteral("r"));
        m_requestOutstanding = false;
    });
}

void RealTimePositions::clearValues()
{
    for (int p = 1; p <= Positions; ++p)
        value(p)->clear();
}

void RealTimePositions::readingShown(int channel, const QDateTime &, double, bool, DisplayMode)
{
    // The grid's own text, clip texts included.
    for (int p = 1; p <= Positions; ++p)
        if (channelOf(p) == channel)
            value(p)->setText(m_p.display.readingText(channel));
}

void RealTimePositions::lineReceived(const QString &line)
{
    if (!m_requestOutstanding || !line.startsWith(u'r'))
        return;
    const int channels = m_p.connection.header.channelBlocks();
    if (!RealTimeLine::isReadingLine(line, 0))
        return;
    m_requestOutstanding = false;
    const auto counts = RealTimeLine::counts(line, channels);
    for (int p = 1; p <= Positions; ++p) {
        const int n = channelOf(p);
        if (n == 0 || n > int(counts.size()) || !counts[size_t(n - 1)])
            continue;
        const int count = *counts[size_t(n - 1)];
        const QString clip = RealTimeConversion::clipText(count);
        value(p)->setText(clip.isEmpty()
                              ? RealTimeConversion::text(m_p.display.valueOf(n, count), m_p.display.displayMode())
                              : clip);
    }
}
