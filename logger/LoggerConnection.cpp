#include "logger/LoggerConnection.h"

#include "link/LineReader.h"

#include <cmath>

LoggerConnection::LoggerConnection(Port &port, EventLoop &loop, SettingsStore &settings,
                                   Dialogs &dialogs)
    : linkDialogs(dialogs, state)
    , status(loop)
    , transport(port, loop, linkDialogs, state, switches, trace, status)
    , link(port, loop, settings, linkDialogs, state, switches, trace, status)
    , statusByte(transport, state, linkDialogs, loop, status, switches)
    , buttons(statusByte, transport, port, state, linkDialogs, loop, switches)
    , headerReader(header, transport, state, loop, linkDialogs)
    , capture(transport.lineReader(), state, loop)
    , initializer(header, transport, statusByte, state, loop, linkDialogs, dialogs)
    , download({header, transport, statusByte, capture, headerReader, state, loop, dialogs})
{
    wireLink();
    wireInitializer();
    headerReader.setHooks(headerHooks());
    download.setHooks(downloadHooks());
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
    steps.readHeader = [this] { readHeader(); };
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

void LoggerConnection::wireInitializer()
{
    LoggerInitializer::Hooks hooks;
    hooks.captureEvents = [this] { capture.subReadPic(); };
    hooks.readHeader = [this] { readHeader(); };
    hooks.selectionWritten = [this] { capture.setSelectionJustWritten(); };
    initializer.setHooks(std::move(hooks));
}

// The factory fields show the logger just read, until the factory page edits
// them. The limits and settle values are not read back from the header, so
// what the technician typed for them stays.
void LoggerConnection::readHeader()
{
    headerReader.subReadHeader();
    if (!header.headerValid)
        return;
    FactoryFields &factory = initializer.factory();
    const FactoryFields typed = factory;
    factory = factoryFieldsFromHeader(header);
    factory.batteryLimit = typed.batteryLimit;
    factory.rawSupplyLimit = typed.rawSupplyLimit;
    factory.firstSettle = typed.firstSettle;
    factory.secondSettle = typed.secondSettle;
    takeReferences(factory, capture.values());
    if (factoryFieldsRead)
        factoryFieldsRead();
}

// The battery limit is the factory page's VBat limit, in volts; 0 when it
// holds no number.
double LoggerConnection::batteryLimitSetting() const
{
    bool ok = false;
    const double volts = initializer.factory().batteryLimit.trimmed().toDouble(&ok);
    return ok && std::isfinite(volts) ? volts : 0.0;
}

HeaderReader::Hooks LoggerConnection::headerHooks()
{
    HeaderReader::Hooks hooks;
    hooks.autoBaudSwitch = [this] { link.baud().autoSwitchBaud(); };
    hooks.connectionCheck = [this] { link.subCheckCTS(); };
    hooks.subParseHdrtoCSV = [this] { download.subParseHdrtoCSV(); };
    hooks.batteryLimitSetting = [this] { return batteryLimitSetting(); };
    return hooks;
}

EventCapture::Hooks LoggerConnection::captureHooks()
{
    EventCapture::Hooks hooks;
    hooks.status = [this] { return EventCapture::StatusInputs{statusByte.statusValue(), statusByte.statusText()}; };
    hooks.setup.wordsPerScan = [this] {
        const DownloadColumns columns = DownloadColumns::fromChannelConfig(capture.values().channelConfig);
        int highest = 0;
        for (int channel = 1; channel <= 8; ++channel)
            if (columns.active[channel - 1])
                highest = channel;
        return highest + (columns.hasMonitor() ? 2 : 0);
    };
    return hooks;
}

// Without windows the download takes the channel selection the logger holds
// and the memory its header states.
DataDownload::Hooks LoggerConnection::downloadHooks()
{
    DataDownload::Hooks hooks;
    hooks.columns = [this] { return DownloadColumns::fromChannelConfig(capture.values().channelConfig); };
    hooks.installedMemory = [this] { return header.memoryInstalled; };
    return hooks;
}
