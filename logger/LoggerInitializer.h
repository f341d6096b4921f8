#pragma once

#include "logger/FactoryFields.h"
#include "logger/HeaderLineWriter.h"
#include "logger/InitLines.h"
#include "logger/TestSetup.h"

#include <QObject>
#include <QString>
#include <functional>

class CommandTransport;
class Dialogs;
class EventLoop;
class StatusByteCommands;
struct LinkState;
struct LoggerHeader;

// Writes a new test, a first live block, a factory header, the trip levels or
// the default calibration into the logger's header. Each routine checks
// everything it composes before it sends anything, so a refusal leaves the
// logger as it was; and each stops as soon as the link gives up, telling the
// operator that the logger was not initialized, rather than going on to
// enable logging on a half-written header.
class LoggerInitializer : public QObject
{
    Q_OBJECT

public:
    static const QString NotInitializedTitle;
    static const QString RefusedTitle;

    // What the routines need from the windows; empty hooks do nothing.
    struct Hooks
    {
        // The Setup tab brings its active-channel flags up to date.
        std::function<void(TestSetup &setup)> refreshChannelFlags;
        // Event and status capture, after the first initialization's reset.
        std::function<void()> captureEvents;
        // The whole header read, after the factory header.
        std::function<void()> readHeader;
        // The channel selection now in the logger is the Setup tab's.
        std::function<void()> selectionWritten;
    };

    // Questions go through linkDialogs (silent for an abandoned sequence);
    // that the logger was left uninitialized is told through operatorDialogs
    // even when the link abandoned the sequence because the logger was lost.
    LoggerInitializer(LoggerHeader &header, CommandTransport &transport,
                      StatusByteCommands &statusByte, LinkState &state, EventLoop &loop,
                      Dialogs &linkDialogs, Dialogs &operatorDialogs);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    // The Setup tab's part of the hooks, set apart from the logger side's.
    void setRefreshChannelFlags(std::function<void(TestSetup &setup)> refresh)
    {
        m_hooks.refreshChannelFlags = std::move(refresh);
    }
    void setSetup(const TestSetup &setup) { m_setup = setup; }
    const TestSetup &setup() const { return m_setup; }
    // The factory page's fields; the header read fills them.
    FactoryFields &factory() { return m_factory; }
    const FactoryFields &factory() const { return m_factory; }

    void subInitLogger();
    void subFirstInit();
    void subFactoryHeaderInit();
    void cmdWriteTripLevels();
    void subDefaultCal();

Q_SIGNALS:
    // The main window's message line.
    void messageLine(const QString &text);
    // The last-read time and interval labels are blanked.
    void lastReadCleared();
    // The main window's last-download labels are blanked and turned green.
    void lastDownloadCleared();
    // The factory page's initialization time, "yyyy/mm/dd-hh:mm:ss".
    void initTimeShown(const QString &text);
    // The header progress bar.
    void headerProgressSet(int value);

private:
    struct Counters
    {
        QDateTime start;
        quint32 batteryInits = 0;
        quint32 totalInits = 0;
    };

    bool versionAccepted();
    bool stopAccepted();
    bool writeTest(const QString &line0210, const QString &startPointer, Counters *counters);
    bool clearStatusByte();
    bool writeTestLines(const QString &line0210);
    bool writeCounters(Counters *counters);
    bool writeLiveBlock(const QString &startPointer);
    bool writeVerified(int address, const QString &digits);
    bool startLogging();
    void commitTest(const Counters &counters);
    bool writeFirstInit();
    bool writeFactoryHeader(const InitLines::Identity &identity, const QString &tripLine);
    bool writeTextLines(int first, const QStringList &lines);
    bool writeDefaultChannel(int channel, bool millivolts);
    void refuse(const QString &what, const QString &problem);
    void gaveUp(const QString &title, const QString &what, const QString &again);
    void closingMessage();

    LoggerHeader &m_header;
    StatusByteCommands &m_statusByte;
    LinkState &m_state;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
    Dialogs &m_operatorDialogs;
    HeaderLineWriter m_writer;
    Hooks m_hooks;
    TestSetup m_setup;
    FactoryFields m_factory;
};
