#include "calibration/PhDisplayLineWriter.h"

#include "link/CommandTransport.h"
#include "link/LineReader.h"
#include "link/LinkState.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");
// A "c" reply: letter, four address digits, "#", 16 data characters, checksum.
constexpr int ReplyLength = 24;
constexpr int DataStart = 6;
constexpr int DataLength = 16;

} // namespace

PhDisplayLineWriter::PhDisplayLineWriter(CommandTransport &transport, LinkState &state)
    : m_transport(transport), m_state(state), m_writer(transport, state)
{
}

PhDisplayLineWriter::Result PhDisplayLineWriter::write(
    const std::array<PhRemoteDisplay::LineDigits, 4> &lines)
{
    m_state.commAbort = false;
    Result result;
    std::array<QString, 4> texts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString address = HeaderLineWriter::address(lines[i].address);
        QString data;
        if (!readLine(address, &data)) {
            result.failedLine = address;
            result.readFailed = true;
            return result;
        }
        texts[i] = PhRemoteDisplay::lineText(data, lines[i].digits);
    }
    m_writer.begin();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!m_writer.writeText(lines[i].address, texts[i])) {
            result.failedLine = HeaderLineWriter::address(lines[i].address);
            return result;
        }
    }
    result.written = true;
    return result;
}

bool PhDisplayLineWriter::readLine(const QString &address, QString *data)
{
    if (m_state.abandoned)
        return false;
    const QString reply = m_transport.lineReader().fnReadBinc(address);
    if (m_state.commAbort || m_state.abandoned || reply.size() != ReplyLength)
        return false;
    *data = reply.mid(DataStart, DataLength);
    return true;
}

PhRemoteDisplay::Message PhDisplayLineWriter::failureMessage(const Result &result)
{
    const QString title = QStringLiteral("Remote Display Setup Failed");
    if (result.readFailed) {
        return {title, QStringLiteral("Line ") + result.failedLine
                           + QStringLiteral(" of channel 1 could not be read from the logger.") + CrLf
                           + QStringLiteral("Nothing was written: the remote display keeps its previous calibration.")};
    }
    return {title, QStringLiteral("The logger did not take line ") + result.failedLine
                       + QStringLiteral(" of channel 1; it and the lines after it were not written.") + CrLf
                       + QStringLiteral("The remote display calibration is incomplete: please set it up again.")};
}
