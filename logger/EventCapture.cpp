#include "logger/EventCapture.h"

#include "logger/EventLines.h"

#include "link/LineReader.h"
#include "link/LinkState.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderMap.h"
#include "platform/EventLoop.h"

#include <QDateTime>

const QString EventCapture::LineEnd = QStringLiteral("\r\n");

namespace {

constexpr int EventAddress = 0x0000;
constexpr int PresetAddress = 0x0010;
constexpr int ActiveAddress = 0x0020;
constexpr int ChannelAddress = 0x0040;
constexpr int ReferenceAddress = 0x0050;

// The data digits of a hexadecimal header reply ("a0000#" + 32 digits + checksum).
constexpr int DataDigitsAt = 6;
constexpr int DataDigits = 32;

constexpr quint8 MonitorSelectedBit = 0x80;
constexpr quint8 ChannelActiveBit = 0x40;

// The field's bytes out of a line's data digits; byte n is digits 2n, 2n+1.
HexField takeField(const QString &digits, int offset, int width)
{
    HexField field;
    field.hex = digits.mid(2 * offset, 2 * width);
    field.value = fnHexToLong(field.hex);
    return field;
}

HexField takeField(const QString &digits, LiveField which)
{
    const LiveFieldSpec &spec = HeaderMap::spec(which);
    return takeField(digits, spec.offset, spec.width);
}

} // namespace

EventCapture::EventCapture(LineReader &reader, LinkState &state, EventLoop &loop)
    : m_reader(reader)
    , m_state(state)
    , m_loop(loop)
{
}

void EventCapture::subReadPic()
{
    // The header line of the event lines carries the moment of the capture.
    const QDateTime capturedAt = m_loop.now();
    bool failed = false;

    readEventLine(failed);
    readSetupLine(PresetAddress, m_values.preset, failed);
    readSetupLine(ActiveAddress, m_values.active, failed);
    // The logger never counts an event after more scans than it has taken.
    if (m_values.eventScans.value > m_values.active.scans.value)
        m_values.eventScans = m_values.active.scans;
    Q_EMIT picInfoRead();

    if (m_selectionJustWritten)
        m_selectionJustWritten = false;
    else if (readChannelLine(failed))
        applyChannelConfig();
    readReferenceLine(failed);

    // The scan numbers depend on the words per scan, so they are worked out
    // once the main window's selection matches the logger's.
    const int words = m_hooks.setup.wordsPerScan ? m_hooks.setup.wordsPerScan() : 0;
    const StatusInputs status = m_hooks.status ? m_hooks.status() : StatusInputs{};
    const EventLines built = EventLines::build(m_values, status, capturedAt, words);
    m_eventLines = built.lines;
    m_firstScanNote = built.firstScanNote;
    m_eventScanNumber = built.eventScanNumber;
    m_currentScanNumber = built.currentScanNumber;
    m_firstEventScan = built.firstEventScan;
    Q_EMIT scanNumbersChanged(QString::number(m_eventScanNumber), QString::number(m_currentScanNumber));

    // A later successful read clears the flag; the download must still see
    // that part of the capture is stale.
    if (failed)
        m_state.commAbort = true;
}

QString EventCapture::readLine(int address, bool &failed)
{
    const QString line = m_reader.fnReadHexHdra(HeaderMap::addressText(address));
    if (m_state.commAbort || line.size() < DataDigitsAt + DataDigits) {
        failed = true;
        return QString();
    }
    return line.mid(DataDigitsAt, DataDigits);
}

void EventCapture::readEventLine(bool &failed)
{
    const QString digits = readLine(EventAddress, failed);
    if (digits.isEmpty())
        return;
    m_values.eepromMarker = takeField(digits, LiveField::EepromMarker);
    m_values.memoryByte = takeField(digits, LiveField::MemoryByte);
    m_values.nextSample = takeField(digits, LiveField::EventNextSample);
    m_values.eventWaits = takeField(digits, LiveField::EventWaits);
    m_values.eventScans = takeField(digits, LiveField::EventScans);
    m_values.eventChannels = takeField(digits, LiveField::EventChannels);
    m_values.eventPointer = takeField(digits, LiveField::EventPointer);
}

// 0010 and 0020 share one layout; the map names it for 0010.
void EventCapture::readSetupLine(int address, LiveSetupFields &fields, bool &failed)
{
    const QString digits = readLine(address, failed);
    if (digits.isEmpty())
        return;
    fields.calInterval = takeField(digits, LiveField::CalInterval);
    fields.period = takeField(digits, LiveField::PresetPeriod);
    fields.waits = takeField(digits, LiveField::PresetWait);
    fields.scans = takeField(digits, LiveField::PresetScans);
    fields.channels = takeField(digits, LiveField::PresetChannels);
    fields.pointer = takeField(digits, LiveField::PresetStartPointer);
}

bool EventCapture::readChannelLine(bool &failed)
{
    const QString digits = readLine(ChannelAddress, failed);
    if (digits.isEmpty())
        return false;
    m_values.channelConfig = digits;
    return true;
}

void EventCapture::readReferenceLine(bool &failed)
{
    const QString digits = readLine(ReferenceAddress, failed);
    if (digits.isEmpty())
        return;
    m_values.referenceLowMilliVolts = takeField(digits, LiveField::ReferenceLow);
    m_values.referenceHighMilliVolts = takeField(digits, LiveField::ReferenceHigh);
}

void EventCapture::applyChannelConfig()
{
    const SetupHooks &setup = m_hooks.setup;
    const QString &config = m_values.channelConfig;
    const quint8 first = quint8(fnHexToLong(config.left(2)));
    // A monitor number outside 1-8 cannot be chosen on the Setup tab.
    const int monitor = (first & MonitorSelectedBit) ? int(fnHexToLong(config.mid(1, 1))) : 0;
    const bool monitorValid = monitor >= 1 && monitor <= 8;
    if (setup.selectMonitor)
        setup.selectMonitor(monitorValid ? monitor : 0);
    if (monitorValid && setup.isChannelActive && setup.toggleChannel
        && !setup.isChannelActive(monitor))
        setup.toggleChannel(monitor);

    for (int channel = 1; channel <= 8; ++channel) {
        const quint8 byte = quint8(fnHexToLong(config.mid(2 * (channel - 1), 2)));
        const bool active = byte & ChannelActiveBit;
        if (setup.isChannelActive && setup.toggleChannel && setup.isChannelActive(channel) != active)
            setup.toggleChannel(channel);
    }
    if (setup.setNumberActiveChannels)
        setup.setNumberActiveChannels();
}
