#include "logger/download/DownloadNotes.h"

namespace DownloadNotes {

namespace {
constexpr int NoteWidth = 40;
constexpr quint32 ReliablePeriodSeconds = 10;
} // namespace

QStringList prematureNotice(qint64 addressReached, qint64 endAddress)
{
    return {
        QStringLiteral("                        ****** WARNING! *****"),
        QStringLiteral("      PREMATURE TERMINATION OF DATA DOWNLOAD"),
        QString(),
        QStringLiteral("at %1 out of %2").arg(addressReached).arg(endAddress - 16),
        QString(),
        QStringLiteral("Please note 'logger connected' and 'CTS' status."),
        QStringLiteral("If CTS is RED, and logger is disconnected, then"),
        QStringLiteral("please disconnect, reconnect, and try the download again."),
        QStringLiteral("You can force the communications to low speed (9600 baud)"),
        QStringLiteral("by UN-clicking the 'autobaud' selection in the lower left corner"),
        QStringLiteral("of the DEFAULT tab. This will allow data recovery."),
        QStringLiteral("Please report consistent problems with one unit to Korvan."),
    };
}

QStringList operatorLines(const QString &text)
{
    QStringList result;
    QString line;
    bool lineOpen = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            result << std::exchange(line, QString());
            lineOpen = false;
        } else if (c == u' ' && line.size() >= NoteWidth) {
            result << std::exchange(line, QString());
            lineOpen = false;
        } else {
            line += c;
            lineOpen = true;
        }
    }
    if (lineOpen)
        result << line;
    return result;
}

QStringList lines(const Facts &f)
{
    QStringList notes;
    if (f.premature)
        notes += prematureNotice(f.addressReached, f.endAddress);
    if (f.lowBattery)
        notes << QStringLiteral("WARNING: Low Battery occured during test.")
              << QStringLiteral("Logger operation and data is questionable if Vbat < 7 volts.");
    if (f.firstEventReached && (f.status & 0x03))
        notes << QStringLiteral("WARNING: Status Event.")
              << QStringLiteral("First Status Event occured at scan number %1.").arg(f.firstEventScan);
    if (!f.alerts.isEmpty())
        notes << QStringLiteral("Alerts: ") + f.alerts;
    if (f.cancelled)
        notes << QStringLiteral("Download was canceled. This is only a partial data file.")
              << QStringLiteral("%1 of %2 scans completed.").arg(f.addressReached).arg(f.endAddress);
    if (f.periodSeconds < ReliablePeriodSeconds)
        notes << QStringLiteral("The scan interval was set to %1.").arg(f.periodText)
              << QStringLiteral("When the scan interval is set less than 10 Secs communications are not reliable.")
              << QStringLiteral("Reporting of errors - alarms - and their related scan numbers is probably incorrect.");
    notes += operatorLines(f.operatorNotes);
    return notes;
}

} // namespace DownloadNotes
