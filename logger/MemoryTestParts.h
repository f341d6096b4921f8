#pragma once

class Dialogs;
class EventLoop;
class LoggerConnection;
class MemoryTestDisplay;

// What every memory test runs on: the connected logger, the boxes, the loop
// it yields to between lines, and the displays it reports to.
struct MemoryTestParts
{
    LoggerConnection &connection;
    Dialogs &dialogs;
    EventLoop &loop;
    MemoryTestDisplay &display;
};
