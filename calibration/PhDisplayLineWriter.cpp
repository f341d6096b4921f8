#include "calibration/PhDisplayLineWriter.h"

#include "link/LinkState.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

PhDisplayLineWriter::PhDisplayLineWriter(CommandTransport &transport, LinkState &state)
    : m_state(state), m_writer(transport, state)
{
}

PhDisplayLineWriter::Result PhDisplayLineWriter::write(
    const std::array<PhRemoteDisplay::LineDigits, 4> &lines)
{
    m_state.commAbort = false;
    m_writer.begin();
    Result result;
    std::array<QString, 4> texts;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<QString> data = m_writer.readText(lines[i].address);
        if (!data) {
            result.failedLine = HeaderLineWriter::address(lines[i].address);
            result.readFailed = true;
            return result;
        }
        texts[i] = PhRemoteDisplay::lineText(*data, lines[i].digits);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!m_writer.writeText(lines[i].address, texts[i])) {
            result.failedLine = HeaderLineWriter::address(lines[i].address);
            return result;
        }
    }
    result.written = true;
    return result;
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
