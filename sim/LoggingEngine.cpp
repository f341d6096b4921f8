#include "sim/LoggingEngine.h"

#include "platform/EventLoop.h"
#include "sim/ChannelSignals.h"
#include "sim/LoggerClock.h"
#include "sim/LoggerImage.h"


namespace {
constexpr int MaxChannels = 8;
constexpr quint16 StatusTag = 0xF000;
constexpr qint64 Ms = 1000;
} // namespace

LoggingEngine::LoggingEngine(EventLoop &loop, LoggerImage &image, ChannelSignals &inputs,
                             LoggerClock &clock)
    : m_loop(loop)
    , m_image(image)
    , m_inputs(inputs)
    , m_clock(clock)
    , m_timer(loop.createTimer())
{
    m_timer->setSingleShot(true);
    m_timer->setHandler([this] { due(); });
}

LoggingEngine::~LoggingEngine() = default;

quint8 &LoggingEngine::status()
{
    return m_image.statusByte;
}

void LoggingEngine::enable()
{
    status() = quint8((status() & ~(MemoryFull | TestDone)) | Logging);
    if (!m_running)
        begin();
}

void LoggingEngine::disable()
{
    status() &= quint8(~Logging);
    halt();
}

void LoggingEngine::writeStatusByte(quint8 value)
{
    status() = value;
    if ((value & Logging) && !m_running)
        begin();
    else if (!(value & Logging))
        halt();
}

void LoggingEngine::halt()
{
    refreshLiveBlock();
    m_running = false;
    m_timer->stop();
}

void LoggingEngine::latch()
{
    const LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    m_period = qMax<quint32>(1, active.period);
    m_channels = int(qMin<quint32>(MaxChannels, active.channels));
    m_monitor = LiveBlock::monitorChannel(m_image.header);
}

void LoggingEngine::begin()
{
    latch();
    const LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    if (active.scans == 0) {
        nothingToTake();
        return;
    }
    m_running = true;
    const qint64 now = m_clock.nowMs();
    m_startMs = now + qint64(active.wait) * Ms;
    m_earlyScanPending = active.wait > EarlyScanSeconds;
    m_nextIndex = 0;
    takeScan(false, now, true);
    if (m_running)
        arm();
}

void LoggingEngine::resume()
{
    if (m_running || !(status() & Logging))
        return;
    latch();
    const LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    if (active.scans == 0) {
        nothingToTake();
        return;
    }
    m_running = true;
    m_startMs = m_clock.nowMs() + qint64(active.wait > 0 ? active.wait : m_period) * Ms;
    m_earlyScanPending = false;
    m_nextIndex = 0;
    arm();
}

int LoggingEngine::resumeOn(const Schedule &schedule)
{
    if (m_running || !(status() & Logging))
        return 0;
    latch();
    const LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    if (active.scans == 0) {
        nothingToTake();
        return 0;
    }
    m_running = true;
    m_earlyScanPending = schedule.early;
    m_startMs = schedule.nextScanMs + (schedule.early ? EarlyScanSeconds * Ms : 0);
    m_nextIndex = 0;
    int taken = 0;
    while (m_running && dueMs() <= m_clock.nowMs()) {
        if (step(false))
            ++taken;
    }
    if (m_running) {
        refreshLiveBlock();
        arm();
    }
    return taken;
}

std::optional<LoggingEngine::Schedule> LoggingEngine::schedule() const
{
    if (!m_running)
        return std::nullopt;
    return Schedule{dueMs(), m_earlyScanPending};
}

qint64 LoggingEngine::dueMs() const
{
    return m_earlyScanPending ? m_startMs - EarlyScanSeconds * Ms
                              : m_startMs + qint64(m_period) * Ms * m_nextIndex;
}

void LoggingEngine::clockChanged()
{
    if (m_running)
        arm();
}

void LoggingEngine::arm()
{
    m_timer->setIntervalNs(m_clock.loopNsAt(dueMs()) - m_loop.elapsedNs());
    m_timer->start();
}

void LoggingEngine::due()
{
    step(true);
    if (m_running)
        arm();
    if (m_onTimedChange)
        m_onTimedChange();
}

// Takes the scan that is due, stamped with the time it was due.
bool LoggingEngine::step(bool live)
{
    const qint64 at = dueMs();
    if (m_earlyScanPending) {
        m_earlyScanPending = false;
        return takeScan(false, at, live);
    }
    ++m_nextIndex;
    return takeScan(true, at, live);
}

void LoggingEngine::refreshLiveBlock()
{
    refreshLiveBlockAt(m_clock.nowMs());
}

void LoggingEngine::refreshLiveBlockAt(qint64 ms)
{
    if (!m_running)
        return;
    LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    const qint64 left = m_startMs - ms;
    active.wait = left > 0 ? quint32((left + Ms - 1) / Ms) : 0;
    LiveBlock::setSetup(m_image.header, LiveBlock::ActiveLine, active);
}

void LoggingEngine::checkSupply(LiveBlock::Setup &active)
{
    quint8 low = 0;
    const int supplyTrip = LiveBlock::supplyTrip(m_image.header);
    const int batteryTrip = LiveBlock::batteryTrip(m_image.header);
    if (supplyTrip > 0 && m_inputs.supply() < supplyTrip)
        low |= SupplyLow;
    if (batteryTrip > 0 && m_inputs.battery() < batteryTrip)
        low |= BatteryLow;
    const quint8 fresh = low & quint8(~status());
    if (!fresh)
        return;
    const bool firstEvent = !(status() & (SupplyLow | BatteryLow));
    status() |= fresh;
    if (firstEvent)
        LiveBlock::setEvent(m_image.header,
                            {m_period, active.wait, active.scans, quint32(m_channels), active.pointer});
    if (qint64(active.pointer) + 2 <= m_image.data.size()) {
        const quint16 word = StatusTag | status();
        m_image.data[active.pointer] = char(word >> 8);
        m_image.data[active.pointer + 1] = char(word & 0xFF);
        active.pointer += 2;
    }
}

// A live scan sends its dump line; one caught up after a load does not.
// False when memory is full.
bool LoggingEngine::takeScan(bool counted, qint64 atMs, bool live)
{
    refreshLiveBlockAt(atMs);
    LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    const ChannelSignals::Sample sample = m_inputs.nextSample(atMs);
    checkSupply(active);

    QList<quint16> words;
    for (int t = 0; t < m_channels; ++t)
        words.append(quint16(t << 12) | quint16(m_inputs.count(t + 1, sample)));
    if (m_monitor > 0) {
        words.append(quint16(m_channels << 12) | quint16(m_inputs.maximum(m_monitor, sample)));
        words.append(quint16((m_channels + 1) << 12) | quint16(m_inputs.minimum(m_monitor, sample)));
    }
    if (qint64(active.pointer) + 2 * words.size() > m_image.data.size()) {
        LiveBlock::setSetup(m_image.header, LiveBlock::ActiveLine, active);
        finish(MemoryFull);
        return false;
    }
    for (quint16 word : words) {
        m_image.data[active.pointer] = char(word >> 8);
        m_image.data[active.pointer + 1] = char(word & 0xFF);
        active.pointer += 2;
    }
    if (counted && active.scans > 0)
        --active.scans;
    LiveBlock::setSetup(m_image.header, LiveBlock::ActiveLine, active);
    if (live && m_onScan)
        m_onScan(sample);
    if (counted && active.scans == 0)
        finish(TestDone);
    return true;
}

void LoggingEngine::nothingToTake()
{
    status() |= TestDone;
    halt();
}

void LoggingEngine::finish(quint8 bit)
{
    status() = quint8((status() | bit) & ~Logging);
    halt();
}
