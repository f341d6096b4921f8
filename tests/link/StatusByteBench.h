#pragma once

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/MaintenanceButtons.h"
#include "link/StatusByteCommands.h"
#include "link/Trace.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QByteArray>

// The PC's port with a tap on what the program writes, so a test can read
// the commands as they went onto the wire.
class TappedPort : public Port
{
public:
    explicit TappedPort(Port &inner);

    QByteArray takeWritten();

    void setPortName(const QString &name) override { m_inner.setPortName(name); }
    QString portName() const override { return m_inner.portName(); }
    bool open() override { return m_inner.open(); }
    void close() override { m_inner.close(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    bool applySettings(const QString &settings) override { return m_inner.applySettings(settings); }
    QString settings() const override { return m_inner.settings(); }
    void setDtr(bool on) override { m_inner.setDtr(on); }
    void setRts(bool on) override { m_inner.setRts(on); }
    bool dtr() const override { return m_inner.dtr(); }
    bool rts() const override { return m_inner.rts(); }
    bool cts() const override { return m_inner.cts(); }
    bool dsr() const override { return m_inner.dsr(); }
    bool cd() const override { return m_inner.cd(); }
    int bytesWaiting() const override { return m_inner.bytesWaiting(); }
    int takeByte() override { return m_inner.takeByte(); }
    void write(const QByteArray &bytes) override;
    void discardOutput() override { m_inner.discardOutput(); }

private:
    Port &m_inner;
    QByteArray m_written;
};

// The status byte commands and the maintenance buttons on the simulated
// logger under virtual time, already connected: the port open at 9600 baud
// and the logger recognised, so a test starts with the command it is about.
// The receive side fills the link state as the port owner does (reply
// capture, current line, last complete line).
class StatusByteBench
{
public:
    explicit StatusByteBench(const LoggerImage &image);

    // The program's bytes since the last call, carriage returns shown as "|".
    QByteArray wire();
    // subClearBuffers as the port owner does it.
    void clearBuffers();

    VirtualEventLoop loop;
    LoggerSimulator logger;
    SimPort simPort;
    TappedPort port;
    ScriptedDialogs dialogs;
    LinkState state;
    DebugSwitches switches;
    Trace trace;
    CommStatusLine status;
    CommandTransport transport;
    StatusByteCommands statusByte;
    MaintenanceButtons buttons;
    int bufferClears = 0;

private:
    void receive();
};
