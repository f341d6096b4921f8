#pragma once

#include "logger/download/DownloadTable.h"

#include <QStringList>

// What reading a download gave: the table as far as the file is valid,
// and why it stopped when it stopped early or refused the file.
struct DownloadRead
{
    DownloadTable table;
    bool refused = false;
    // The line the fault is in (0: none, or not in a line).
    int faultLine = 0;
    QString fault;
    // Problems of the files beside it (events, metadata), read anyway.
    QStringList notes;
    // For the operator: empty when the whole file was read.
    QString message;

    void refuse(const QString &why)
    {
        refused = true;
        fault = why;
    }
    void stopAt(int line, const QString &why)
    {
        faultLine = line;
        fault = why;
    }
    bool stopped() const { return !fault.isEmpty(); }
};
