#pragma once

#include <QString>

// The link's shared state: one instance, owned by SerialLink, read by the
// transport, the line reads and the windows.
struct LinkState
{
    qint16 commPortNum = 0;
    QString loggerBaud = QStringLiteral("9600,N,8,1");
    QString portSettings = QStringLiteral("9600,N,8,1");
    bool readyLevel = false;
    bool portUnavailable = false;
    bool loggerConnected = false;
    bool commAbort = false;
    // The sequence running now was superseded (a newer connection, a lost
    // logger, the program ending): it is to unwind without sending, showing
    // or committing anything more.
    bool abandoned = false;
    bool cancelDownload = false;
    bool captureReply = false;
    QString stReply;
    QString stRxLine;
    QString stLastLine;
    bool lineReady = false;
    bool hiSpeedCapable = false;
    QString stTxTimeoutText;
    // Time one command attempt may take (TmrTxd): 2 s until the first connect, then 3 s.
    int txTimeoutMs = 2000;
};
