#include "sim/LoggerSimulator.h"

#include "platform/EventLoop.h"
#include "sim/CommandFramer.h"
#include "sim/FirmwareCommands.h"
#include "sim/LoggingEngine.h"

namespace {
// The serial number's place in the identity line 0200.
constexpr int SerialNumberAt = 0x0208;

// An image from a damaged file must not take the firmware out of its memory.
LoggerImage withFullHeader(LoggerImage image)
{
    if (image.header.size() < LoggerImage::HeaderSize)
        image.header.append(QByteArray(LoggerImage::HeaderSize - image.header.size(), '\0'));
    image.header.truncate(LoggerImage::HeaderSize);
    return image;
}
} // namespace

LoggerSimulator::LoggerSimulator(EventLoop &loop, const LoggerImage &image)
    : m_loop(loop)
    , m_clock(loop)
    , m_engine(std::make_unique<LoggingEngine>(loop, m_image, m_inputs, m_clock))
    , m_commands(std::make_unique<FirmwareCommands>(m_image, *m_engine, m_inputs, m_clock, m_faults))
    , m_framer(std::make_unique<CommandFramer>(loop, BodyTimeoutMs))
    , m_ctsHold(loop.createTimer())
{
    m_commands->setFollowNextRate([this] { m_followNextRate = true; });
    m_framer->setTimeoutHandler([this] { flushPending(); });
    m_engine->setScanHandler([this](const ChannelSignals::Sample &sample) {
        if (m_image.statusByte & LoggingEngine::DumpOn)
            sendScanLine(m_commands->scanLine('l', sample));
    });
    m_engine->setTimedChangeHandler([this] { memoryChanged(); });
    m_ctsHold->setSingleShot(true);
    m_ctsHold->setHandler([this] {
        m_ctsHeldBusy = false;
        if (!trueCtsAsserted())
            changeLine(Port::Event::CtsChange);
    });
    start(image);
}

LoggerSimulator::~LoggerSimulator() = default;

int LoggerSimulator::loadImage(const LoggerImage &image)
{
    m_engine->halt();
    restartFirmware();
    m_pendingLines.clear();
    return start(image);
}

int LoggerSimulator::start(const LoggerImage &image)
{
    m_image = withFullHeader(image);
    m_image.clock = QDateTime();
    m_image.schedule.reset();
    m_clock.advanceTo(image.clock);
    m_inputs.setSeed(ChannelSignals::seedFor(m_image.header.mid(SerialNumberAt, 8)));
    if (image.schedule && image.schedule->nextScan.isValid())
        return m_engine->resumeOn({image.schedule->nextScan.toMSecsSinceEpoch(), image.schedule->early});
    m_engine->resume();
    return 0;
}

LoggerImage LoggerSimulator::imageToKeep()
{
    m_engine->refreshLiveBlock();
    LoggerImage kept = m_image;
    kept.clock = m_clock.now();
    if (const std::optional<LoggingEngine::Schedule> schedule = m_engine->schedule())
        kept.schedule = LoggerImage::ScanSchedule{
            QDateTime::fromMSecsSinceEpoch(schedule->nextScanMs), schedule->early};
    return kept;
}

quint8 LoggerSimulator::garbled(quint8 byte)
{
    // A receiver at the wrong rate samples the wrong bits; what it assembles
    // always has the top bit set here, so it is never a command letter, a
    // digit or a carriage return.
    return quint8(0x80 | ((byte * 0x1D + 0x47) & 0x7F));
}

void LoggerSimulator::receive(quint8 byte, int baud)
{
    if (!m_pluggedIn)
        return;
    if (m_followNextRate && baud > 0) {
        m_baud = baud;
        m_followNextRate = false;
    } else if (baud != m_baud) {
        byte = garbled(byte);
    }
    if (m_faults.isSilent())
        return;
    switch (m_framer->feed(byte)) {
    case CommandFramer::Step::Letter:
        if (m_faults.takeNoEcho())
            m_framer->reset();
        else
            send(QByteArray(1, char(byte)));
        break;
    case CommandFramer::Step::Complete:
        execute();
        break;
    case CommandFramer::Step::Restart:
        restartFirmware();
        break;
    default:
        break;
    }
    flushPending();
}

void LoggerSimulator::execute()
{
    const CommandFramer::Command &command = m_framer->command();
    // Data memory changes only by "f"; the header and the status byte are
    // small enough to compare.
    const QByteArray headerBefore = m_image.header;
    const quint8 statusBefore = m_image.statusByte;
    m_executing = true;
    const QByteArray line = m_commands->execute(command.letter, command.body);
    m_executing = false;
    if (command.letter == 'f' || m_image.statusByte != statusBefore || m_image.header != headerBefore)
        memoryChanged();
    sendLine(line);
}

void LoggerSimulator::memoryChanged()
{
    if (m_memoryChanged)
        m_memoryChanged();
}

void LoggerSimulator::restartFirmware()
{
    m_framer->reset();
    m_commands->restart();
    m_followNextRate = false;
}

// A byte fault may fall due in the middle of the bytes: those before it go
// out, then the fault happens.
void LoggerSimulator::send(const QByteArray &bytes)
{
    QByteArray rest = bytes;
    while (m_pluggedIn && !rest.isEmpty()) {
        const qint64 before = m_faults.bytesBeforeByteFault(rest.size());
        putOnLine(rest.left(before));
        rest = rest.mid(before);
        if (rest.isEmpty())
            return;
        switch (m_faults.takeByteFault()) {
        case SimFaults::ByteFault::Unplug:
            unplug();
            return;
        case SimFaults::ByteFault::Restart:
            powerUp();
            return;
        case SimFaults::ByteFault::Noise:
            putOnLine(m_faults.noise());
            break;
        case SimFaults::ByteFault::None:
            break;
        }
    }
}

void LoggerSimulator::putOnLine(const QByteArray &bytes)
{
    if (!m_pluggedIn || m_faults.isSilent() || bytes.isEmpty())
        return;
    // Silence may begin in the middle of the bytes, after a carriage return.
    qsizetype end = 0;
    while (end < bytes.size() && !m_faults.isSilent()) {
        if (bytes.at(end++) == '\r')
            m_faults.countLineSent();
    }
    m_faults.countBytesSent(end);
    if (m_output)
        m_output(bytes.left(end), m_baud);
}

void LoggerSimulator::sendLine(QByteArray line)
{
    line = m_faults.mangle(line);
    send(line.mid(1) + '\r');
}

void LoggerSimulator::sendScanLine(const QByteArray &line)
{
    m_pendingLines += m_faults.mangle(line) + '\r';
    flushPending();
}

void LoggerSimulator::flushPending()
{
    if (m_pendingLines.isEmpty() || m_executing || !m_framer->isIdle())
        return;
    const QByteArray lines = m_pendingLines;
    m_pendingLines.clear();
    send(lines);
}

void LoggerSimulator::changeLine(Port::Event event)
{
    if (m_lines)
        m_lines(event);
}

bool LoggerSimulator::trueCtsAsserted() const
{
    return !m_pluggedIn || m_ctsHeldBusy;
}

bool LoggerSimulator::ctsAsserted() const
{
    return trueCtsAsserted();
}

bool LoggerSimulator::readCts()
{
    if (m_flicker.on) {
        const bool settled
            = (m_flicker.settleAfterReads >= 0 && m_flicker.reads >= m_flicker.settleAfterReads)
              || (m_flicker.settleAtNs >= 0 && m_loop.elapsedNs() >= m_flicker.settleAtNs);
        if (!settled)
            return (m_flicker.reads++ / m_flicker.readsPerLevel) % 2 == 0;
        m_flicker.on = false;
    }
    return trueCtsAsserted();
}

void LoggerSimulator::unplug()
{
    if (!m_pluggedIn)
        return;
    const bool wasAsserted = trueCtsAsserted();
    m_pluggedIn = false;
    m_framer->reset();
    m_pendingLines.clear();
    m_followNextRate = false;
    if (!wasAsserted)
        changeLine(Port::Event::CtsChange);
}

void LoggerSimulator::plugIn()
{
    if (m_pluggedIn)
        return;
    m_pluggedIn = true;
    m_baud = PowerUpBaud;
    restartFirmware();
    if (!trueCtsAsserted())
        changeLine(Port::Event::CtsChange);
    if (m_faults.bootPrompt())
        send("?");
}

void LoggerSimulator::powerUp()
{
    m_engine->halt();
    m_image.statusByte &= quint8(~LoggingEngine::Logging);
    m_baud = PowerUpBaud;
    restartFirmware();
    m_pendingLines.clear();
    memoryChanged();
    if (m_faults.bootPrompt())
        send("?");
}

void LoggerSimulator::setInterfaceAttached(bool attached)
{
    if (attached == m_interfaceAttached)
        return;
    m_interfaceAttached = attached;
    changeLine(Port::Event::DsrChange);
}

void LoggerSimulator::setCarrierDetect(bool held)
{
    if (held == m_carrierDetect)
        return;
    m_carrierDetect = held;
    changeLine(Port::Event::CdChange);
}

void LoggerSimulator::raiseLineError(Port::Event event)
{
    if (event == Port::Event::CdChange)
        m_carrierDetect = !m_carrierDetect;
    changeLine(event);
}

void LoggerSimulator::holdCtsBusy(qint64 ns)
{
    const bool wasAsserted = trueCtsAsserted();
    m_ctsHeldBusy = true;
    m_ctsHold->setIntervalNs(ns);
    m_ctsHold->start();
    if (!wasAsserted)
        changeLine(Port::Event::CtsChange);
}

void LoggerSimulator::flickerCts(int readsPerLevel, int settleAfterReads, qint64 settleAfterNs)
{
    m_flicker = Flicker{true, qMax(1, readsPerLevel), settleAfterReads,
                        settleAfterNs >= 0 ? m_loop.elapsedNs() + settleAfterNs : -1, 0};
    changeLine(Port::Event::CtsChange);
}

void LoggerSimulator::setTimeScale(double scale)
{
    m_clock.setScale(scale);
    m_engine->clockChanged();
}

bool LoggerSimulator::isLogging() const
{
    return m_engine->isRunning();
}

bool LoggerSimulator::ledOn(int led) const
{
    return m_commands->ledOn(led);
}
