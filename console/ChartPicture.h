#pragma once

#include <QString>

class Dialogs;
class QWidget;

// Saves a chart as a PNG picture: the file asked for through the dialogs
// (".png" added when left off), a box when it cannot be written.
namespace ChartPicture {
void save(QWidget &chart, Dialogs &dialogs, const QString &proposed, const QString &dialogTitle,
          const QString &errorTitle);
}
