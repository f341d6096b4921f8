#include "logger/FactoryPageCommands.h"

#include "link/CommandTransport.h"
#include "link/LineReader.h"
#include "link/LinkState.h"
#include "link/ManualLine.h"
#include "logger/FunctionsSubs.h"
#include "logger/HeaderLineWriter.h"
#include "logger/HeaderMap.h"
#include "logger/HeaderNotesPage.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

FactoryPageCommands::FactoryPageCommands(CommandTransport &transport, LinkState &state,
                                         EventLoop &loop, Dialogs &dialogs)
    : m_transport(transport), m_state(state), m_loop(loop), m_dialogs(dialogs)
{
}

void FactoryPageCommands::readHexHeader(int address)
{
    m_transport.sendCommand(QStringLiteral("a"), fnHex4(address));
}

QString FactoryPageCommands::readHeaderText(const QString &addressField, const QString &caption)
{
    const std::optional<QString> address = ManualLine::addressOf(addressField, 4);
    if (!address)
        return refused(addressField, caption), QString();
    return m_transport.lineReader().fnReadBinc(*address);
}

QString FactoryPageCommands::readData(const QString &addressField, const QString &caption)
{
    const std::optional<QString> address = ManualLine::addressOf(addressField, 6);
    if (!address)
        return refused(addressField, caption), QString();
    return m_transport.lineReader().fnReadHexDatae(*address);
}

bool FactoryPageCommands::writeData(const QString &addressField, const QString &text,
                                    const QString &caption)
{
    const std::optional<ManualLine> line = ManualLine::dataWrite(addressField, text);
    return line ? send(*line) : refused(addressField, caption);
}

bool FactoryPageCommands::writeHeaderText(const QString &addressField, const QString &text,
                                          const QString &caption)
{
    const std::optional<ManualLine> line = ManualLine::headerTextWrite(addressField, text);
    return line ? send(*line) : refused(addressField, caption);
}

bool FactoryPageCommands::writeHeaderHex(const QString &addressField, const QString &text,
                                         const QString &caption)
{
    const std::optional<ManualLine> line = ManualLine::headerHexWrite(addressField, text);
    return line ? send(*line) : refused(addressField, caption);
}

bool FactoryPageCommands::send(const ManualLine &line)
{
    m_transport.sendCommand(line.letter, line.address, QStringLiteral("#"), line.data, line.length);
    return !m_state.commAbort;
}

bool FactoryPageCommands::refused(const QString &addressField, const QString &caption)
{
    m_dialogs.Message_Box(QStringLiteral("The address \"") + addressField
                              + QStringLiteral("\" is not a hexadecimal number. Nothing was sent."),
                          int(Dialogs::OkOnly) | Dialogs::Exclamation, caption);
    return false;
}

int FactoryPageCommands::clearData()
{
    static const QString zeros(32, QLatin1Char('0'));
    int written = 0;
    for (int address = 0; address <= ClearDataTop; address += 16) {
        m_transport.sendCommand(QStringLiteral("f"), fnHex6(address), QStringLiteral("#"), zeros,
                                qint16(zeros.size()));
        if (m_state.commAbort)
            break;
        ++written;
        // Lets the ABORT label and the windows in between lines.
        m_loop.yieldUntil(m_loop.elapsedNs());
    }
    return written;
}

bool FactoryPageCommands::writeHeaderNotes(const QString &notes)
{
    HeaderLineWriter writer(m_transport, m_state);
    writer.begin();
    const QStringList lines = HeaderNotesPage::lines(notes);
    for (int i = 0; i < lines.size(); ++i) {
        if (!writer.writeText(HeaderMap::NotesAddress + HeaderNotesPage::LineChars * i, lines[i]))
            return false;
    }
    return true;
}
