#include "logger/download/RebuildCommand.h"

#include "logger/download/DownloadRebuild.h"
#include "logger/download/RawDownloadFile.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QFileInfo>

const QString RebuildCommand::Title = QStringLiteral("Rebuild from RAW");

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

bool RebuildCommand::run(const QString &dataFolder)
{
    const QString path = m_dialogs.getOpenFileName(Title, dataFolder, QStringLiteral("RAW Files (*.RAW *.raw)"));
    if (path.isEmpty())
        return false;
    const RawDownloadFile raw = RawDownloadFile::read(path);
    if (!raw.refusal.isEmpty()) {
        m_dialogs.Message_Box(QDir::toNativeSeparators(path) + CrLf + CrLf + raw.refusal,
                              int(Dialogs::OkOnly) | Dialogs::Critical, Title);
        return false;
    }
    const QString chosen = m_dialogs.getSaveFileName(
        Title, DownloadRebuild::freeBase(path, QFileInfo(path).path()), QStringLiteral("CSV Files (*.CSV)"));
    if (chosen.isEmpty())
        return false;
    const QFileInfo info(chosen);
    const QString base = info.absolutePath() + u'/'
        + (info.suffix().compare(QLatin1String("CSV"), Qt::CaseInsensitive) == 0 ? info.completeBaseName()
                                                                                   : info.fileName());
    DownloadRebuild rebuild(raw, m_dialogs);
    rebuild.setExtras(DownloadRebuild::extrasBeside(path));
    const DownloadRebuild::Outcome outcome = rebuild.write(base);
    if (!outcome.written)
        return false;
    QString text = QStringLiteral("Written: ") + QDir::toNativeSeparators(base) + QStringLiteral(".CSV");
    if (!raw.dataProblem.isEmpty())
        text += CrLf + CrLf + QStringLiteral("The RAW file's data was read up to ") + raw.dataProblem
            + QStringLiteral("; the rows end there.");
    m_dialogs.Message_Box(text, int(Dialogs::OkOnly) | Dialogs::Information, Title);
    return true;
}
