#pragma once

#include <QObject>

class Dialogs;
class EventLoop;
class LoggerConnection;
class QAbstractButton;

// "New  Battery Installed Today" on the Cal Data tab: the battery change date
// goes into the logger's header, and the count of initializations since the
// battery was installed starts again at 0.
class BatteryInstalledCommand : public QObject
{
    Q_OBJECT

public:
    BatteryInstalledCommand(QAbstractButton &box, LoggerConnection &connection, EventLoop &loop,
                            Dialogs &dialogs, QObject *parent = nullptr);

    void ChkBattInst_Click(bool ticked);

private:
    LoggerConnection &m_connection;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
};
