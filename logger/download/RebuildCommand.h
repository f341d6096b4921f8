#pragma once

#include <QString>

class Dialogs;

// "Rebuild from RAW...": the operator picks a download's RAW file and the
// name of the files to write; the comma-separated file is written again
// from it (DownloadRebuild), and a box tells what was written and where the
// RAW's data stopped being trustworthy, if it did.
class RebuildCommand
{
public:
    static const QString Title;

    explicit RebuildCommand(Dialogs &dialogs) : m_dialogs(dialogs) {}

    // Starts in the data folder; false when cancelled or refused.
    bool run(const QString &dataFolder);

private:
    Dialogs &m_dialogs;
};
