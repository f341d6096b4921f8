#include "console/LoggerConnection.h"

#include "link/LineReader.h"

LoggerConnection::LoggerConnection(Port &port, EventLoop &loop, SettingsStore &settings,
                                   Dialogs &dialogs)
    : status(loop)
    , transport(port, loop, dialogs, state, switches, trace, status)
    , link(port, loop, settings, dialogs, state, switches, trace, status)
    , statusByte(transport, state, dialogs, loop, status, switches)
    , buttons(statusByte, transport, port, state, dialogs, loop, switches)
    , headerReader(header, transport, state, loop, dialogs)
    , capture(transport.lineReader(), state, loop)
{
    wireLink();
    buttons.setHooks(buttonHooks());
}

void LoggerConnection::wireLink()
{
    transport.setLinkHooks({
        [this] { return link.fnCTS(); },
        [this] { link.subClearBuffers(); },
        [this] { link.subDTROn(); },
        [this] { link.stopReceiveTimer(); },
    });
    SerialLink::Steps steps;
    steps.readHexHeaderLine = [this](const QString &address) {
        return transport.lineReader().fnReadHexHdra(address);
    };
    steps.readStatusByte = [this] {
        statusByte.subSBRead();
        return statusByte.statusText();
    };
    steps.disableDump = [this] { statusByte.subDisableDump(); };
    steps.resetCommCommand = [this] { buttons.SubResetCommCommand(); };
    steps.captureEvents = [this] { capture.subReadPic(); };
    steps.readHeader = [this] { headerReader.subReadHeader(); };
    link.setSteps(std::move(steps));
    link.baud().setSendCommand([this](QString c, QString a, QString s, QString d, qint16 n) {
        transport.sendCommand(c, a, s, d, n);
    });
    QObject::connect(&link, &SerialLink::loggerLost, &statusByte,
                     [this] { statusByte.subSBClearDisplay(); });
}

MaintenanceButtons::Hooks LoggerConnection::buttonHooks()
{
    MaintenanceButtons::Hooks hooks;
    hooks.confirmSN = [this] { headerReader.subConfirmSN(); };
    hooks.clearBuffers = [this] { link.subClearBuffers(); };
    return hooks;
}
