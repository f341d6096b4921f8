#include "console/ChartPicture.h"

#include "platform/Dialogs.h"

#include <QPixmap>
#include <QWidget>

void ChartPicture::save(QWidget &chart, Dialogs &dialogs, const QString &proposed,
                        const QString &dialogTitle, const QString &errorTitle)
{
    QString file = dialogs.getSaveFileName(dialogTitle, proposed, QStringLiteral("PNG pictures (*.png)"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        file += QStringLiteral(".png");
    if (!chart.grab().save(file, "PNG"))
        dialogs.Message_Box(QStringLiteral("The picture could not be saved as ") + file + u'.',
                            int(Dialogs::OkOnly) | int(Dialogs::Critical), errorTitle);
}
