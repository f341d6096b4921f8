#pragma once

#include "link/LineReader.h"
#include "logger/FunctionsSubs.h"
#include "tests/support/TransportBench.h"

#include <QStringList>

// The transport and the line reads on the simulated logger, with every
// status text and every untick of "Halt on error" recorded.
class LinkBench : public TransportBench
{
public:
    explicit LinkBench(EventLoop &loop, const LoggerImage &image);

    // Sends a command and returns what it left in stReply.
    QString send(const QString &letter, const QString &address = QString(),
                 const QString &separator = QString(), const QString &data = QString(),
                 qint16 length = 0);
    QStringList boxTitles() const { return dialogs.titles(); }

    // Every text the status line showed, blanks included.
    QStringList statusTexts;
    int haltUnticks = 0;
};
