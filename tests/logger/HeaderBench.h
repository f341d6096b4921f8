#pragma once

#include "link/CommStatusLine.h"
#include "link/CommandTransport.h"
#include "link/DebugSwitches.h"
#include "link/LinkState.h"
#include "link/Trace.h"
#include "logger/HeaderReader.h"
#include "logger/LoggerHeader.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerSimulator.h"
#include "sim/SimPort.h"
#include "sim/VirtualEventLoop.h"
#include "tests/support/ScriptedDialogs.h"

#include <QStringList>

// The PC's side of the cable with a record of every byte the program sent.
class WireTap : public Port
{
public:
    explicit WireTap(Port &inner);

    // Everything written so far, carriage returns shown as "|".
    QString written() const { return QString::fromLatin1(m_written).replace(u'\r', u'|'); }

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

// A connected simulated logger under virtual time with the header reader on
// the transport, its hooks and signals recorded.
class HeaderBench
{
public:
    explicit HeaderBench(const LoggerImage &image);

    // Header text lines of the image, for tests that spoil a line.
    void setLine(int address, const QString &text);
    QString lineAt(int address) const;

    VirtualEventLoop loop;
    LoggerSimulator logger;
    SimPort simPort;
    WireTap port;
    ScriptedDialogs dialogs;
    LinkState state;
    DebugSwitches switches;
    Trace trace;
    CommStatusLine status;
    CommandTransport transport;
    LoggerHeader header;
    HeaderReader reader;

    // What the hooks and signals saw, in order.
    QStringList events;
    QStringList messages;
    QStringList notesShown;
    QStringList channelLabels;
    double lastProgress = -1;
    int progressMaximum = 0;

private:
    void receive();
};
