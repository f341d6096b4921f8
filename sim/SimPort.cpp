#include "sim/SimPort.h"

#include "platform/EventLoop.h"
#include "sim/LoggerSimulator.h"

#include <algorithm>
#include <utility>

SimPort::SimPort(EventLoop &loop, LoggerSimulator &logger)
    : m_loop(loop)
    , m_logger(logger)
    , m_timer(loop.createTimer())
    , m_announce(loop.createTimer())
    , m_lineWatch(loop.createTimer())
{
    m_timer->setSingleShot(true);
    m_timer->setHandler([this] { deliverDue(); });
    m_announce->setSingleShot(true);
    m_announce->setIntervalNs(0);
    m_announce->setHandler([this] { announceReceived(); });
    m_lineWatch->setSingleShot(true);
    m_lineWatch->setIntervalNs(0);
    m_lineWatch->setHandler([this] { watchLines(); });
    m_logger.setOutputHandler([this](const QByteArray &bytes, int baud) { loggerSends(bytes, baud); });
    m_logger.setLineHandler([this](Port::Event event) { lineChanged(event); });
}

SimPort::~SimPort()
{
    m_logger.setOutputHandler({});
    m_logger.setLineHandler({});
}

qint64 SimPort::charNs(int baud)
{
    // Start bit, 8 data bits, stop bit.
    return baud > 0 ? 10 * 1000000000LL / baud : 1000000LL;
}

bool SimPort::pcSpeaks8N1() const
{
    return m_settings.parity == u'N' && m_settings.dataBits == 8;
}

bool SimPort::open()
{
    if (!m_adapterPresent)
        return false;
    m_open = true;
    return true;
}

void SimPort::close()
{
    m_open = false;
    m_lineEvents.clear();
    m_lineWatch->stop();
    m_announce->stop();
    m_toLogger.clear();
    m_toPc.clear();
    m_received.clear();
    m_readPos = 0;
    m_timer->stop();
}

bool SimPort::applySettings(const QString &settings)
{
    return PortSettings::parse(settings, &m_settings);
}

bool SimPort::cts() const
{
    return m_open && m_logger.readCts();
}

bool SimPort::dsr() const
{
    return m_open && m_logger.dsr();
}

bool SimPort::cd() const
{
    return m_open && m_logger.cd();
}

int SimPort::takeByte()
{
    if (m_readPos >= m_received.size())
        return -1;
    const int byte = quint8(m_received.at(m_readPos++));
    if (m_readPos == m_received.size()) {
        m_received.clear();
        m_readPos = 0;
    }
    return byte;
}

void SimPort::write(const QByteArray &bytes)
{
    if (!m_open || bytes.isEmpty())
        return;
    if (m_tap)
        m_tap(false, bytes);
    // A rate of 0 stands for a format the logger does not speak.
    const int baud = pcSpeaks8N1() ? m_settings.baud : 0;
    qint64 at = qMax(m_loop.elapsedNs(), m_toLoggerFreeNs);
    for (char byte : bytes) {
        at += charNs(m_settings.baud);
        m_toLogger.push_back({at, quint8(byte), baud});
    }
    m_toLoggerFreeNs = at;
    arm();
}

void SimPort::discardOutput()
{
    // Bytes already on their way cannot be called back.
    const qint64 now = m_loop.elapsedNs();
    while (!m_toLogger.empty() && m_toLogger.back().dueNs - charNs(m_settings.baud) > now)
        m_toLogger.pop_back();
    m_toLoggerFreeNs = m_toLogger.empty() ? now : m_toLogger.back().dueNs;
    arm();
}

void SimPort::loggerSends(const QByteArray &bytes, int baud)
{
    if (m_tap)
        m_tap(true, bytes);
    qint64 at = qMax(m_loop.elapsedNs() + m_latencyNs, m_toPcFreeNs);
    for (char byte : bytes) {
        at += charNs(baud);
        m_toPc.push_back({at, quint8(byte), baud});
    }
    m_toPcFreeNs = at;
    arm();
}

void SimPort::setAdapterPresent(bool present)
{
    if (present == m_adapterPresent)
        return;
    m_adapterPresent = present;
    if (present || !m_open)
        return;
    close();
    raise(Event::DeviceLost);
}

void SimPort::lineChanged(Port::Event event)
{
    if (!m_open)
        return;
    const bool modemLine = event == Event::CtsChange || event == Event::DsrChange
        || event == Event::CdChange;
    if (!modemLine) {
        raise(event);
        return;
    }
    if (std::find(m_lineEvents.begin(), m_lineEvents.end(), event) == m_lineEvents.end())
        m_lineEvents.push_back(event);
    m_lineWatch->start();
}

void SimPort::watchLines()
{
    const std::vector<Port::Event> events = std::exchange(m_lineEvents, {});
    for (Port::Event event : events) {
        if (m_open)
            raise(event);
    }
}

void SimPort::deliverDue()
{
    const qint64 now = m_loop.elapsedNs();
    bool received = false;
    for (;;) {
        const bool loggerDue = !m_toLogger.empty() && m_toLogger.front().dueNs <= now;
        const bool pcDue = !m_toPc.empty() && m_toPc.front().dueNs <= now;
        if (!loggerDue && !pcDue)
            break;
        if (loggerDue && (!pcDue || m_toLogger.front().dueNs <= m_toPc.front().dueNs)) {
            const InFlight b = m_toLogger.front();
            m_toLogger.pop_front();
            m_logger.receive(b.byte, b.baud);
            continue;
        }
        const InFlight b = m_toPc.front();
        m_toPc.pop_front();
        // Bytes sent into a pulled cable or a closed port are lost.
        if (!m_open || !m_logger.isPluggedIn())
            continue;
        const bool understood = b.baud == m_settings.baud && pcSpeaks8N1();
        m_received.append(char(understood ? b.byte : LoggerSimulator::garbled(b.byte)));
        received = true;
    }
    arm();
    // QSerialPort announces bytes only from outside its readyRead handler.
    if (received && !m_inReceiveHandler)
        m_announce->start();
}

void SimPort::announceReceived()
{
    if (!m_open || bytesWaiting() == 0)
        return;
    m_inReceiveHandler = true;
    raise(Event::Receive);
    m_inReceiveHandler = false;
}

void SimPort::arm()
{
    qint64 next = -1;
    if (!m_toLogger.empty())
        next = m_toLogger.front().dueNs;
    if (!m_toPc.empty() && (next < 0 || m_toPc.front().dueNs < next))
        next = m_toPc.front().dueNs;
    if (next < 0) {
        m_timer->stop();
        return;
    }
    m_timer->setIntervalNs(qMax<qint64>(0, next - m_loop.elapsedNs()));
    m_timer->start();
}
