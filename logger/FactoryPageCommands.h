#pragma once

#include <QString>

class CommandTransport;
class Dialogs;
class EventLoop;
struct LinkState;
struct ManualLine;

// The factory page's hand commands: single reads of header and data lines,
// the three hand writes, clearing the first data lines, and writing the
// header notes page. Each runs through the same transport as every other
// command and leaves its reply where the page shows it (the receive label).
class FactoryPageCommands
{
public:
    // The last data address the clear writes (inclusive).
    static constexpr int ClearDataTop = 0x1000;

    FactoryPageCommands(CommandTransport &transport, LinkState &state, EventLoop &loop,
                        Dialogs &dialogs);

    // "a" at a fixed header address (the Read 0000 ... Read 0050 buttons).
    void readHexHeader(int address);
    // The character read at the address field; the reply, or empty when it failed.
    QString readHeaderText(const QString &addressField, const QString &caption);
    // The data read at the address field; the reply, or empty when it failed.
    QString readData(const QString &addressField, const QString &caption);
    // The hand writes; false (after a box naming the field) when the address
    // is not hexadecimal, or when the link gave up.
    bool writeData(const QString &addressField, const QString &text, const QString &caption);
    bool writeHeaderText(const QString &addressField, const QString &text, const QString &caption);
    bool writeHeaderHex(const QString &addressField, const QString &text, const QString &caption);
    // Zeros into data lines 000000 to 001000; the number of lines written
    // before the first that failed.
    int clearData();
    // The notes page; false when the link gave up on a line.
    bool writeHeaderNotes(const QString &notes);

private:
    bool send(const ManualLine &line);
    bool refused(const QString &addressField, const QString &caption);

    CommandTransport &m_transport;
    LinkState &m_state;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
};
