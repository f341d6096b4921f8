#pragma once

#include <QObject>

class Dialogs;
class LoggerConnection;
class QAbstractButton;

// The main window's maintenance command that puts the factory default
// calibration into channels 1-8 of the connected logger, after the operator
// has confirmed the logger and the replacement.
class DefaultCalibrationCommand : public QObject
{
    Q_OBJECT

public:
    DefaultCalibrationCommand(QAbstractButton &button, LoggerConnection &connection, Dialogs &dialogs,
                              QObject *parent = nullptr);

    void cmdDefaultCal_Click();

private:
    LoggerConnection &m_connection;
    Dialogs &m_dialogs;
};
