#include "logger/HeaderFileCommands.h"

#include "logger/FunctionsSubs.h"
#include "logger/HeaderLineWriter.h"
#include "logger/LoggerConnection.h"
#include "logger/LoggingStop.h"
#include "logger/WholeFile.h"
#include "platform/Dialogs.h"

#include <QDir>

const QString HeaderFileCommands::Filter = QStringLiteral("TXT Files (*.txt)");

namespace {
const QString CrLf = QStringLiteral("\r\n");
// A whole header file is about 12 KB; anything far larger is not one.
constexpr qint64 MaxFileBytes = 1024 * 1024;
} // namespace

HeaderFileCommands::HeaderFileCommands(const Parts &parts)
    : m_p(parts), m_backup({parts.connection, parts.dialogs, parts.dataFolder, parts.now})
{
}

bool HeaderFileCommands::saveHeaderFile()
{
    if (!m_p.connection.confirmedLogger())
        return false;
    const QString path = m_p.dialogs.getSaveFileName(
        QStringLiteral("Save Settings to File"), QDir(m_p.dataFolder()).filePath(m_backup.proposedName(QStringLiteral("HEADER DATA"))),
        Filter);
    if (path.isEmpty())
        return false;
    const std::optional<QList<HeaderDataFile::Record>> records = m_backup.readWholeHeader();
    if (!records || !m_backup.writeFile(path, *records))
        return false;
    m_p.dialogs.Message_Box(QStringLiteral("The Header Data has been saved to ") + path + QStringLiteral("              ..."),
                            Dialogs::OkOnly, QStringLiteral("Data Save Complete"));
    return true;
}

std::optional<QByteArray> HeaderFileCommands::readFile(const QString &path)
{
    QString error;
    const std::optional<QByteArray> bytes = WholeFile::read(path, MaxFileBytes, &error);
    if (!bytes)
        m_p.dialogs.Message_Box(error, Dialogs::OkOnly, QStringLiteral("Open Settings File"));
    return bytes;
}

bool HeaderFileCommands::refused(const QString &path, const HeaderDataFile::Parsed &parsed)
{
    using P = HeaderDataFile::Problem;
    if (parsed.problem == P::None)
        return false;
    if (parsed.problem == P::WrongMarker) {
        m_p.dialogs.Message_Box(path + QStringLiteral(" is not a Logger Header  Data file."),
                                int(Dialogs::OkOnly) | Dialogs::Critical, QStringLiteral("Wrong Type of Data File"));
        return true;
    }
    const QString why = parsed.problem == P::NoRecords      ? QStringLiteral("It holds no header lines.")
        : parsed.problem == P::DuplicateAddress ? QStringLiteral("Line %1 appears twice.").arg(parsed.badAddress)
        : parsed.problem == P::NotHexDigits     ? QStringLiteral("Line %1 is not 32 hexadecimal digits.").arg(parsed.badAddress)
                                                : QStringLiteral("\"%1\" is not a header line address.").arg(parsed.badAddress);
    m_p.dialogs.Message_Box(path + CrLf + why + CrLf + QStringLiteral("Nothing was written to the logger."),
                            int(Dialogs::OkOnly) | Dialogs::Critical, QStringLiteral("Header File Refused"));
    return true;
}

bool HeaderFileCommands::loadHeaderFile()
{
    const QString path = m_p.dialogs.getOpenFileName(QStringLiteral("Open Settings File"), m_p.dataFolder(), Filter);
    if (path.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return false;
    const HeaderDataFile::Parsed parsed = HeaderDataFile::parse(*bytes);
    if (refused(path, parsed))
        return false;
    if (m_p.dialogs.Message_Box(
            QStringLiteral("WARNING! THIS OPERATION WILL OVERWIRITE EXISTING HEADER MEMORY COMPLETELY!") + CrLf
                + QStringLiteral("All Calibration, serial numbering, and other setup data will be replaced!") + CrLf
                + CrLf + QStringLiteral("Continue to Load New Header Data to Logger memory from ") + path + u'?',
            int(Dialogs::YesNo) | Dialogs::Exclamation | Dialogs::DefaultButton2,
            QStringLiteral("LOAD HEADER FILE to logger memory"))
        != Dialogs::Yes)
        return false;
    QList<HeaderDataFile::Record> records = parsed.records;
    // Every question is asked before the first line is written, so Cancel
    // leaves the logger as it was.
    bool fixAll = false;
    for (HeaderDataFile::Record &record : records) {
        if (HeaderDataFile::check(record) != HeaderDataFile::Check::BadLength)
            continue;
        if (!fixAll) {
            const int answer = m_p.dialogs.Message_Box(
                QStringLiteral("staddr: ") + fnHex4(record.address) + CrLf + QStringLiteral("stText: >") + record.text
                    + u'<' + CrLf + QStringLiteral("CANCEL to abort, YES to fix and continue, NO to Fix and check each error"),
                Dialogs::YesNoCancel, QStringLiteral("MsgLen error in cmdReaderHeaderFile"));
            if (answer == Dialogs::Cancel)
                return false;
            fixAll = answer == Dialogs::Yes;
        }
        record.text = HeaderDataFile::fixedText();
    }
    if (!m_p.connection.confirmedLogger()
        || !LoggingStop::stopped(m_p.connection, m_p.dialogs, QStringLiteral("Loading a header file")))
        return false;
    const std::optional<QString> backup = m_backup.keep();
    return backup && writeRecords(records, *backup);
}

bool HeaderFileCommands::writeRecords(QList<HeaderDataFile::Record> records, const QString &backup)
{
    LoggerConnection &c = m_p.connection;
    HeaderLineWriter writer(c.transport, c.state);
    writer.begin();
    for (const HeaderDataFile::Record &record : records) {
        const bool hex = HeaderDataFile::check(record) == HeaderDataFile::Check::Hex;
        if (!(hex ? writer.writeHex(record.address, record.text.toUpper())
                  : writer.writeText(record.address, record.text))) {
            m_p.dialogs.Message_Box(
                QStringLiteral("The logger did not take line ") + fnHex4(record.address)
                    + QStringLiteral("; the load stopped there and the header is only partly replaced.") + CrLf
                    + QStringLiteral("The logger's header as it was before is kept in ") + backup
                    + QStringLiteral("; load that file to restore it."),
                int(Dialogs::OkOnly) | Dialogs::Critical, QStringLiteral("cmdReadHeaderFile Error"));
            return false;
        }
    }
    m_p.dialogs.Message_Box(QStringLiteral("The new Header Data has been uploaded to the logger.") + CrLf
                                + QStringLiteral("NOW Disconnect, Power DOWN, then reconnect logger to show true settings!")
                                + CrLf + CrLf + QStringLiteral("The header it had before is kept in ") + backup
                                + u'.',
                            Dialogs::OkOnly, QStringLiteral("Data Upload to Logger Complete"));
    return true;
}
