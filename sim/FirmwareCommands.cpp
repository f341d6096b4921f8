#include "sim/FirmwareCommands.h"

#include "sim/ChannelSignals.h"
#include "sim/LoggerClock.h"
#include "sim/LoggerImage.h"
#include "sim/LoggingEngine.h"
#include "sim/SimFaults.h"

#include <cctype>

namespace {
constexpr int LineBytes = 16;
constexpr int IdentityLine = 0x0210;

bool isHex(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (!std::isxdigit(quint8(c)))
            return false;
    return true;
}

// Value of an all-hexadecimal field, or -1.
qint64 hexValue(QByteArrayView text)
{
    if (!isHex(text))
        return -1;
    return QByteArray(text.data(), text.size()).toLongLong(nullptr, 16);
}

QByteArray hex(qint64 value, int width)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(width, '0');
}

// A write body "address#data" + checksum: the address if the shape, the
// address digits and the checksum are right, else -1.
qint64 checkedAddress(const QByteArray &body, int addressWidth, int dataWidth)
{
    if (body.size() != addressWidth + 1 + dataWidth + 2 || body.at(addressWidth) != '#')
        return -1;
    const QByteArrayView covered(body.constData(), body.size() - 2);
    if (hexValue(body.right(2)) != hexValue(FirmwareCommands::checksum(covered)))
        return -1;
    return hexValue(body.left(addressWidth));
}

// The firmware's digit conversion for "b" and "f" bodies: 0-9, A-F and a-f
// are their values; any other character counts as its low four bits (a blank
// as 0, a "." as E), as the firmware masks it without checking.
int nibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))
        return (c & 0x0F) + 9;
    return c & 0x0F;
}

QByteArray bytesOfDigits(QByteArrayView digits)
{
    QByteArray bytes(digits.size() / 2, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(nibble(digits[2 * i]) << 4 | nibble(digits[2 * i + 1]));
    return bytes;
}

// A header line starting at `address` that lies inside 0000-0FFF, or -1.
int headerAddress(QByteArrayView digits)
{
    if (digits.size() != 4)
        return -1;
    const qint64 address = hexValue(digits);
    return address >= 0 && address + LineBytes <= LoggerImage::HeaderSize ? int(address) : -1;
}
} // namespace

FirmwareCommands::FirmwareCommands(LoggerImage &image, LoggingEngine &engine,
                                   ChannelSignals &inputs, const LoggerClock &clock,
                                   const SimFaults &faults)
    : m_image(image)
    , m_engine(engine)
    , m_inputs(inputs)
    , m_clock(clock)
    , m_faults(faults)
{
}

QByteArray FirmwareCommands::checksum(QByteArrayView covered)
{
    unsigned sum = 0;
    for (char c : covered)
        sum += quint8(c);
    return hex(sum & 0xFF, 2);
}

int FirmwareCommands::installedChannels(const QByteArray &header)
{
    const qint64 n = hexValue(header.mid(IdentityLine + 14, 1));
    return n < 0 ? 0 : int(qMin<qint64>(n, ChannelSignals::Channels));
}

void FirmwareCommands::restart()
{
    m_led2 = m_led3 = false;
    m_softResetArmed = false;
}

bool FirmwareCommands::ledOn(int led) const
{
    return led == 2 ? m_led2 : led == 3 ? m_led3 : false;
}

QByteArray FirmwareCommands::execute(char letter, const QByteArray &body)
{
    const bool resetArmed = m_softResetArmed;
    m_softResetArmed = false;
    const QByteArray bare(1, letter);
    switch (letter) {
    case 'a':
        return readHeaderHex(body);
    case 'c':
        return readHeaderText(body);
    case 'e':
        return readData(body);
    case 'p':
        return statusLine();
    case 'r':
        return scanLine('r', m_inputs.nextSample(m_clock.nowMs()));
    case 'R':
        return supplyLine();
    case 'b':
    case 'd':
        writeHeader(body, letter == 'd');
        break;
    case 'f':
        writeData(body);
        break;
    case 'q':
        writeStatus(body);
        break;
    case 'h':
    case 'i':
        switchLed(body, letter == 'h');
        break;
    case 'l':
        m_engine.enable();
        break;
    case 'm':
        m_engine.disable();
        break;
    case 'o':
        m_softResetArmed = true;
        break;
    case 'g':
        if (resetArmed)
            softReset();
        break;
    case 's':
        m_image.statusByte &= quint8(~LoggingEngine::DumpOn);
        break;
    case 't':
        m_image.statusByte |= LoggingEngine::DumpOn;
        break;
    case 'u':
        if (m_followNextRate)
            m_followNextRate();
        break;
    default:
        break;
    }
    return bare;
}

QByteArray FirmwareCommands::readHeaderHex(const QByteArray &body)
{
    const int address = headerAddress(body);
    if (address < 0)
        return "a";
    m_engine.refreshLiveBlock();
    const QByteArray rest = hex(address, 4) + '#' + m_image.header.mid(address, LineBytes).toHex().toUpper();
    return 'a' + rest + checksum(rest);
}

QByteArray FirmwareCommands::readHeaderText(const QByteArray &body)
{
    const int address = headerAddress(body);
    if (address < 0)
        return "c";
    m_engine.refreshLiveBlock();
    const QByteArray rest = hex(address, 4) + '#' + m_image.header.mid(address, LineBytes);
    return 'c' + rest + checksum(rest);
}

QByteArray FirmwareCommands::readData(const QByteArray &body)
{
    const qint64 address = body.size() == 6 ? hexValue(body) : -1;
    if (address < 0)
        return "e";
    QByteArray bytes(LineBytes, char(0xFF));
    for (int i = 0; i < LineBytes; ++i) {
        const qint64 at = m_faults.fittedDataAddress(address + i);
        if (at < m_image.data.size())
            bytes[i] = m_image.data.at(at);
    }
    const QByteArray rest = hex(address, 6) + '#' + bytes.toHex().toUpper();
    return 'e' + rest + checksum(rest);
}

void FirmwareCommands::writeHeader(const QByteArray &body, bool text)
{
    const int dataWidth = text ? LineBytes : 2 * LineBytes;
    const qint64 checked = checkedAddress(body, 4, dataWidth);
    const int address = checked < 0 ? -1 : headerAddress(body.left(4));
    if (address < 0)
        return;
    const QByteArray data = body.mid(5, dataWidth);
    if (!m_faults.keepsHeaderWrite(address))
        return;
    const QByteArray bytes = text ? data : bytesOfDigits(data);
    for (int i = 0; i < LineBytes; ++i)
        m_image.header[address + i] = char(m_faults.stuck(SimFaults::Memory::Header, address + i, quint8(bytes.at(i))));
}

void FirmwareCommands::writeData(const QByteArray &body)
{
    const qint64 address = checkedAddress(body, 6, 2 * LineBytes);
    const QByteArray digits = body.mid(7, 2 * LineBytes);
    if (address < 0 || !m_faults.keepsDataWrite(address))
        return;
    const QByteArray bytes = bytesOfDigits(digits);
    for (int i = 0; i < LineBytes; ++i) {
        const qint64 at = m_faults.fittedDataAddress(address + i);
        if (at < m_image.data.size())
            m_image.data[at] = char(m_faults.stuck(SimFaults::Memory::Data, at, quint8(bytes.at(i))));
    }
}

void FirmwareCommands::writeStatus(const QByteArray &body)
{
    if (body.size() != 5 || body.at(0) != '#')
        return;
    const qint64 value = hexValue(body.mid(1, 2));
    if (value < 0 || hexValue(body.right(2)) != hexValue(checksum(body.left(3)))
        || !m_faults.takesStatusWrite())
        return;
    m_engine.writeStatusByte(quint8(value));
}

void FirmwareCommands::switchLed(const QByteArray &body, bool on)
{
    if (body == "#2")
        m_led2 = on;
    else if (body == "#3")
        m_led3 = on;
}

void FirmwareCommands::softReset()
{
    m_led2 = m_led3 = false;
    m_engine.halt();
    m_engine.resume();
}

QByteArray FirmwareCommands::statusLine() const
{
    const QByteArray rest = '#' + hex(m_image.statusByte, 2);
    return 'p' + rest + checksum(rest);
}

QByteArray FirmwareCommands::supplyLine() const
{
    const QByteArray rest = "#" + hex(m_inputs.battery() & 0xFFF, 3) + ','
                            + hex(m_inputs.supply() & 0xFFF, 3) + ','
                            + hex(m_inputs.temperature() & 0xFFF, 3);
    return 'R' + rest + checksum(rest);
}

QByteArray FirmwareCommands::scanLine(char letter, const ChannelSignals::Sample &sample) const
{
    QByteArray rest;
    const int channels = installedChannels(m_image.header);
    for (int k = 1; k <= channels; ++k)
        rest += QByteArray::number(k) + ':' + hex(m_inputs.count(k, sample), 3) + ',';
    rest += '#';
    return letter + rest + checksum(rest);
}
