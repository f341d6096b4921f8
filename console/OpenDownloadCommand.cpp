#include "console/OpenDownloadCommand.h"

#include "console/DataViewer.h"
#include "platform/Dialogs.h"

#include <QWidget>

OpenDownloadCommand::OpenDownloadCommand(QWidget &window, Dialogs &dialogs, std::function<QString()> dataFolder)
    : QObject(&window)
    , m_window(window)
    , m_dialogs(dialogs)
    , m_dataFolder(std::move(dataFolder))
{
}

void OpenDownloadCommand::run()
{
    const QString path = m_dialogs.getOpenFileName(QStringLiteral("Open Download"), m_dataFolder(),
                                                   m_reader.fileFilter());
    if (!path.isEmpty())
        open(path);
}

DataViewer *OpenDownloadCommand::open(const QString &path)
{
    m_dialogs.setBusy(true);
    DownloadRead read = m_reader.read(path);
    m_dialogs.setBusy(false);
    if (read.refused) {
        m_dialogs.Message_Box(read.message, int(Dialogs::OkOnly) | int(Dialogs::Critical),
                              QStringLiteral("Open Download"));
        return nullptr;
    }
    auto *viewer = new DataViewer(m_dialogs, std::move(read), m_dataFolder, &m_window);
    viewer->show();
    return viewer;
}
