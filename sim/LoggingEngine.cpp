#include "sim/LoggingEngine.h"

#include "platform/EventLoop.h"
#include "sim/ChannelSignals.h"
#include "sim/LoggerImage.h"

#include <cmath>

namespace {
constexpr int MaxChannels = 8;
constexpr quint16 StatusTag = 0xF000;
} // namespace

LoggingEngine::LoggingEngine(EventLoop &loop, LoggerImage &image, ChannelSignals &inputs)
    : m_loop(loop)
    , m_image(image)
    , m_inputs(inputs)
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

void LoggingEngine::setTimeScale(double scale)
{
    if (scale > 0)
        m_scale = scale;
}

qint64 LoggingEngine::secondsNs(double seconds) const
{
    return qint64(std::llround(seconds * 1e9 / m_scale));
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
    m_startNs = m_loop.elapsedNs() + secondsNs(active.wait);
    m_earlyScanPending = active.wait > EarlyScanSeconds;
    m_nextIndex = 0;
    takeScan(false);
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
    m_startNs = m_loop.elapsedNs() + secondsNs(active.wait > 0 ? active.wait : m_period);
    m_earlyScanPending = false;
    m_nextIndex = 0;
    arm();
}

void LoggingEngine::arm()
{
    const qint64 at = m_earlyScanPending
                          ? m_startNs - secondsNs(EarlyScanSeconds)
                          : m_startNs + secondsNs(double(m_period) * double(m_nextIndex));
    m_timer->setIntervalNs(qMax<qint64>(0, at - m_loop.elapsedNs()));
    m_timer->start();
}

void LoggingEngine::due()
{
    if (m_earlyScanPending) {
        m_earlyScanPending = false;
        takeScan(false);
    } else {
        ++m_nextIndex;
        takeScan(true);
    }
    if (m_running)
        arm();
    if (m_onTimedChange)
        m_onTimedChange();
}

void LoggingEngine::refreshLiveBlock()
{
    if (!m_running)
        return;
    LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    const qint64 left = m_startNs - m_loop.elapsedNs();
    const double seconds = left > 0 ? double(left) * m_scale / 1e9 : 0.0;
    active.wait = quint32(std::ceil(seconds - 1e-9));
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

void LoggingEngine::takeScan(bool counted)
{
    refreshLiveBlock();
    LiveBlock::Setup active = LiveBlock::setup(m_image.header, LiveBlock::ActiveLine);
    const quint64 sample = m_inputs.nextSample();
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
        return;
    }
    for (quint16 word : words) {
        m_image.data[active.pointer] = char(word >> 8);
        m_image.data[active.pointer + 1] = char(word & 0xFF);
        active.pointer += 2;
    }
    if (counted && active.scans > 0)
        --active.scans;
    LiveBlock::setSetup(m_image.header, LiveBlock::ActiveLine, active);
    if (m_onScan)
        m_onScan(sample);
    if (counted && active.scans == 0)
        finish(TestDone);
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
