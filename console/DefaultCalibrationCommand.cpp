#include "console/DefaultCalibrationCommand.h"

#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"

#include <QAbstractButton>

DefaultCalibrationCommand::DefaultCalibrationCommand(QAbstractButton &button,
                                                     LoggerConnection &connection,
                                                     Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
    , m_dialogs(dialogs)
{
    connect(&button, &QAbstractButton::clicked, this, &DefaultCalibrationCommand::cmdDefaultCal_Click);
}

void DefaultCalibrationCommand::cmdDefaultCal_Click()
{
    if (!m_connection.confirmedLogger())
        return;
    // Every channel's calibration in the logger is replaced: ask first.
    const int answer = m_dialogs.Message_Box(
        QStringLiteral("Write the factory default calibration to channels 1-8?\r"
                       "The calibration now in the logger is replaced."),
        int(Dialogs::YesNo) | Dialogs::Question | Dialogs::DefaultButton2,
        QStringLiteral("Default Calibration"));
    if (answer != Dialogs::Yes)
        return;
    m_dialogs.setBusy(true);
    m_connection.initializer.subDefaultCal();
    m_dialogs.setBusy(false);
}
