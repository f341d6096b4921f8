#pragma once

#include "sim/ChannelSignals.h"
#include "sim/LiveBlock.h"

#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

class EventLoop;
class LoggerClock;
struct LoggerImage;
class Timer;

// The logger's test: the logging bit of the status byte, the start delay
// and the scans, on the event loop's clock.
//
// A test runs from line 0020 (period, wait, scans still to take, active
// channel count N, next free data address) and the monitor selection of
// 0040. Switching logging on takes one scan at once; with a start delay of
// more than 255 s it takes another 255 s before the start; from the start on
// it takes one scan per period and counts it off 0020. The early scans are
// the firmware's wake-up readings that the download numbers -2 and -1.
// Each scan writes N words (tag t, channel t+1's count) and, with a monitor
// channel, its maximum (tag N) and minimum (tag N+1) since the last scan,
// 16 bits each, most significant byte first. While the delay runs, 0020's
// wait counts down in whole seconds.
//
// At each scan the battery and raw supply are compared with the trip levels
// of 0050 (a level of 0 is off). A level newly crossed sets status bit 1
// (battery) or 0 (supply) and writes a status word, tag 15 with the status
// byte in its low bits, before the scan; the first of a test also fills the
// event fields of 0000 (next sample = period, waits and scans still to go,
// N, and the data address of the status word).
//
// The test ends with status bit 6 ("Test Done") when 0020's scans reach 0,
// or bit 5 ("memory full") when the next scan does not fit; bit 4 is then
// cleared. Logging switched on ("l", a "q" write with bit 4, a restart) when
// 0020 has no scans left takes no scan and sets bit 6 beside bit 4: a
// finished test switched on again reads 0x50 (0xD0 with dump output) until
// "m" or a "q" write clears bit 4. A period of 0 is taken as 1 s; N above 8
// as 8.
//
// Scans are due on the logger's clock: counted scan k at the start plus k
// periods, the early one 255 s before the start, each stamped with the time
// it was due. A test loaded from an image with the schedule it was saved
// with takes at once every scan that fell due while the logger was away, as
// the firmware would have (without dump lines: nobody was listening), and
// runs on in the same rhythm.
class LoggingEngine
{
public:
    static constexpr quint8 SupplyLow = 0x01;
    static constexpr quint8 BatteryLow = 0x02;
    static constexpr quint8 Logging = 0x10;
    static constexpr quint8 MemoryFull = 0x20;
    static constexpr quint8 TestDone = 0x40;
    static constexpr quint8 DumpOn = 0x80;
    static constexpr int EarlyScanSeconds = 255;

    // Called after each scan with the sample it took.
    using ScanHandler = std::function<void(const ChannelSignals::Sample &sample)>;

    // When the running test takes its next scan, on the logger's clock.
    struct Schedule
    {
        qint64 nextScanMs = 0;
        bool early = false; // the early scan 255 s before the start
    };

    LoggingEngine(EventLoop &loop, LoggerImage &image, ChannelSignals &inputs, LoggerClock &clock);
    ~LoggingEngine();

    void setScanHandler(ScanHandler handler) { m_onScan = std::move(handler); }
    // Called after each step the engine takes on its own clock (a scan, the
    // end of a test), all of which change the memories.
    void setTimedChangeHandler(std::function<void()> handler) { m_onTimedChange = std::move(handler); }

    // "l": clears the end-of-test bits and starts a test unless one runs.
    void enable();
    // "m": stops the test.
    void disable();
    // "q": the written byte; bit 4 starts or stops the test.
    void writeStatusByte(quint8 value);
    // After a restart: a test whose logging bit is set continues from 0020
    // (the rest of its delay, else one period from now), without early scans.
    void resume();
    // A test whose logging bit is set continues on the schedule it was saved
    // with: the scans due by now are taken at once, in order, up to the
    // test's end or memory full. Returns how many were taken.
    int resumeOn(const Schedule &schedule);
    // Nothing when no test runs.
    std::optional<Schedule> schedule() const;
    // The logger's clock changed its pace: the next scan is timed anew.
    void clockChanged();
    // Stops the clock without touching the status byte.
    void halt();
    bool isRunning() const { return m_running; }
    // Brings 0020's remaining wait up to date (before the PC reads it).
    void refreshLiveBlock();

private:
    void latch();
    void begin();
    void arm();
    void due();
    qint64 dueMs() const;
    bool step(bool live);
    bool takeScan(bool counted, qint64 atMs, bool live);
    void refreshLiveBlockAt(qint64 ms);
    void checkSupply(LiveBlock::Setup &active);
    void nothingToTake();
    void finish(quint8 bit);
    quint8 &status();

    EventLoop &m_loop;
    LoggerImage &m_image;
    ChannelSignals &m_inputs;
    LoggerClock &m_clock;
    std::unique_ptr<Timer> m_timer;
    ScanHandler m_onScan;
    std::function<void()> m_onTimedChange;
    bool m_running = false;
    quint32 m_period = 1;
    int m_channels = 0;
    int m_monitor = 0;
    qint64 m_startMs = 0;
    bool m_earlyScanPending = false;
    qint64 m_nextIndex = 0;
};
