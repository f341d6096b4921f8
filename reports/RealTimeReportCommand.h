#pragma once

#include "reports/RealTimeReport.h"

#include <QObject>
#include <functional>

class Dialogs;
class Printer;
class QLabel;
class QTableWidget;
class frmCalDataNotes;

// The Real Time tab's print button: the notes dialog, then the readings
// printed, saved to a text file, or both.
class RealTimeReportCommand : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QTableWidget &grid;
        // The reading count as the tab shows it.
        QLabel &count;
        frmCalDataNotes &notes;
        Printer &printer;
        Dialogs &dialogs;
        std::function<QString()> dataFolder;
        std::function<QDateTime()> now;
    };

    static const QString NotesCaption;
    static const QString SaveTitle;

    RealTimeReportCommand(const Parts &parts, QObject *parent);

    void run();
    // The grid and count as they stand, with these notes.
    RealTimeReport::Contents contents(const QString &notes) const;

private:
    void save(const RealTimeReport::Contents &contents, const QDateTime &now);
    QString askPath();

    Parts m_p;
};
