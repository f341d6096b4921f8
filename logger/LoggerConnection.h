#pragma once

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkDialogs.h"
#include "link/LinkState.h"
#include "link/MaintenanceButtons.h"
#include "link/SerialLink.h"
#include "link/StatusByteCommands.h"
#include "link/Trace.h"
#include "logger/EventCapture.h"
#include "logger/HeaderReader.h"
#include "logger/LoggerInitializer.h"
#include "logger/LoggerHeader.h"
#include "logger/download/DataDownload.h"

class Dialogs;
class EventLoop;
class Port;
class SettingsStore;

// Everything that talks to one logger on one port, built in dependency order
// and wired together: the link (port watch, transport, status byte, control
// commands) and the logger side it calls when a logger is plugged in (event
// capture and header read). The windows add their own hooks on top.
class LoggerConnection
{
public:
    LoggerConnection(Port &port, EventLoop &loop, SettingsStore &settings, Dialogs &dialogs);

    // The maintenance buttons' hooks this side can fill (serial-number
    // confirmation, buffer clearing); the windows add theirs.
    MaintenanceButtons::Hooks buttonHooks();
    // The header read's hooks this side can fill (the automatic baud
    // switch, the connection check, the download file's header block).
    HeaderReader::Hooks headerHooks();
    // The download's hooks this side can fill (the logger's own channel
    // selection and memory size); the windows add the files and texts.
    // Without windows the capture takes the channel selection the logger
    // holds and the status byte just read.
    EventCapture::Hooks captureHooks();
    DataDownload::Hooks downloadHooks();

    // The program is ending: nothing more goes to the logger, every wait
    // ends and the port closes.
    void shutDown() { link.shutDown(); }
    // The serial-number confirmation every operator command runs first:
    // false when the operator refused the connected logger.
    bool confirmedLogger()
    {
        headerReader.subConfirmSN();
        return !state.commAbort;
    }

    // The whole header read, after which the factory fields follow the logger.
    void readHeader();
    // Runs after a header read has refreshed the factory fields.
    std::function<void()> factoryFieldsRead;

    LinkState state;
    // The boxes of the link and logger side; none is shown for a sequence
    // that was abandoned.
    LinkDialogs linkDialogs;
    DebugSwitches switches;
    Trace trace;
    CommStatusLine status;
    CommandTransport transport;
    SerialLink link;
    StatusByteCommands statusByte;
    MaintenanceButtons buttons;
    LoggerHeader header;
    HeaderReader headerReader;
    EventCapture capture;
    // Test, factory and calibration initializations; its factory fields
    // follow every header read.
    LoggerInitializer initializer;
    // The scan download into the data files.
    DataDownload download;

private:
    void wireLink();
    void wireInitializer();
    double batteryLimitSetting() const;
};
