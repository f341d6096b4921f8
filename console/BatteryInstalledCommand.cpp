#include "console/BatteryInstalledCommand.h"

#include "logger/FunctionsSubs.h"
#include "logger/HeaderLineWriter.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QAbstractButton>

namespace {

// Bit 2 of the status byte: the test is stopped or paused.
constexpr quint8 StoppedBit = 0x04;
constexpr int BatteryDateLine = 0x0500;
constexpr int InitDateLine = 0x0420;

} // namespace

BatteryInstalledCommand::BatteryInstalledCommand(QAbstractButton &box, LoggerConnection &connection,
                                                 EventLoop &loop, Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
    , m_loop(loop)
    , m_dialogs(dialogs)
{
    connect(&box, &QAbstractButton::clicked, this, &BatteryInstalledCommand::ChkBattInst_Click);
}

void BatteryInstalledCommand::ChkBattInst_Click(bool ticked)
{
    if (!ticked)
        return;
    if (!m_connection.confirmedLogger())
        return;
    if (!(m_connection.statusByte.statusValue() & StoppedBit)) {
        const int answer = m_dialogs.Message_Box(
            QStringLiteral("On new battery install, new initialization of logger is mandatory.\r"
                           "Please confirm that you want to stop the logger.\r"
                           "Ok to stop logging. Cancel to continue."),
            int(Dialogs::OkCancel) | Dialogs::Information, QStringLiteral("New battery reset"));
        if (answer == Dialogs::Ok)
            m_connection.statusByte.subDisableLogging();
    }
    LoggerHeader &header = m_connection.header;
    header.batteryDate = m_loop.now();
    header.batteryInits = 0;
    m_dialogs.setBusy(true);
    // Each line keeps the header's layout: the date serial in its first
    // twelve characters, then the marker and the reset count.
    HeaderLineWriter writer(m_connection.transport, m_connection.state);
    writer.begin();
    writer.writeText(BatteryDateLine, fnDateToSerialText(header.batteryDate) + QStringLiteral("BmAH"));
    writer.writeText(InitDateLine, fnDateToSerialText(header.initDate) + QStringLiteral("0000"));
    m_dialogs.setBusy(false);
}
