#include "logger/HeaderLineWriter.h"

#include "link/CommandTransport.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "logger/FunctionsSubs.h"

namespace {
// Where the data stand in an "a" or "c" reply line.
constexpr int DigitsStart = 6;
constexpr int Digits = 32;
constexpr int TextLength = 16;
} // namespace

HeaderLineWriter::HeaderLineWriter(CommandTransport &transport, LinkState &state)
    : m_transport(transport), m_state(state)
{
}

void HeaderLineWriter::begin()
{
    m_gaveUp = false;
    m_failedAt.clear();
}

QString HeaderLineWriter::address(int address)
{
    return fnHex4(address);
}

bool HeaderLineWriter::writeText(int address, const QString &text)
{
    return send(QStringLiteral("d"), address, text);
}

bool HeaderLineWriter::writeHex(int address, const QString &digits)
{
    return send(QStringLiteral("b"), address, digits);
}

bool HeaderLineWriter::send(const QString &letter, int line, const QString &data)
{
    if (m_gaveUp)
        return false;
    m_transport.sendCommand(letter, address(line), QStringLiteral("#"), data, qint16(data.size()));
    return check(address(line));
}

std::optional<QString> HeaderLineWriter::readHex(int line)
{
    if (m_gaveUp)
        return std::nullopt;
    const QString reply = m_transport.lineReader().fnReadHexHdra(address(line));
    if (!check(address(line)))
        return std::nullopt;
    return reply.mid(DigitsStart, Digits);
}

std::optional<QString> HeaderLineWriter::readText(int line)
{
    if (m_gaveUp)
        return std::nullopt;
    const QString reply = m_transport.lineReader().fnReadBinc(address(line));
    if (!check(address(line)))
        return std::nullopt;
    const QString text = reply.mid(DigitsStart, TextLength);
    // A short reply is no line, whatever the link made of it.
    if (text.size() != TextLength)
        return std::nullopt;
    return text;
}

bool HeaderLineWriter::check(const QString &step)
{
    if (m_gaveUp)
        return false;
    if (!m_state.commAbort && !m_state.abandoned)
        return true;
    m_gaveUp = true;
    m_failedAt = step;
    return false;
}
