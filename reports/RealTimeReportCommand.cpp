#include "reports/RealTimeReportCommand.h"

#include "calibration/frmCalDataNotes.h"
#include "platform/Dialogs.h"
#include "reports/ReportFile.h"

#include <QLabel>
#include <QTableWidget>

const QString RealTimeReportCommand::NotesCaption = QStringLiteral("Real Time Data Notes");
const QString RealTimeReportCommand::SaveTitle = QStringLiteral("Save Settings to File");

RealTimeReportCommand::RealTimeReportCommand(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
}

void RealTimeReportCommand::run()
{
    m_p.notes.prepare(NotesCaption);
    m_p.dialogs.runModal(&m_p.notes);
    if (m_p.notes.cancelled())
        return;
    const RealTimeReport::Contents report = contents(m_p.notes.notes());
    const QDateTime now = m_p.now();
    if (m_p.notes.prints())
        RealTimeReport::print(m_p.printer, report, now);
    if (m_p.notes.saves())
        save(report, now);
}

RealTimeReport::Contents RealTimeReportCommand::contents(const QString &notes) const
{
    RealTimeReport::Contents result{notes, m_p.count.text(), {}};
    for (int r = 0; r < m_p.grid.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m_p.grid.columnCount(); ++c) {
            const QTableWidgetItem *item = m_p.grid.item(r, c);
            cells << (item ? item->text() : QString());
        }
        result.rows << cells;
    }
    return result;
}

QString RealTimeReportCommand::askPath()
{
    const QString path = m_p.dialogs.getSaveFileName(QStringLiteral("Save Settings File"), m_p.dataFolder(),
                                                     QStringLiteral("TXT Files (*.txt)"));
    if (path.isEmpty())
        return {};
    const int question = int(Dialogs::OkCancel) | Dialogs::Question | Dialogs::DefaultButton2;
    if (m_p.dialogs.Message_Box(QStringLiteral("Save as ") + path + u'?', question, SaveTitle) != Dialogs::Ok)
        return {};
    return path;
}

void RealTimeReportCommand::save(const RealTimeReport::Contents &contents, const QDateTime &now)
{
    const QString path = askPath();
    if (path.isEmpty())
        return;
    if (const std::optional<QString> error = ReportFile::write(path, RealTimeReport::fileText(contents, now)))
        m_p.dialogs.Message_Box(*error, Dialogs::OkOnly, SaveTitle);
}
