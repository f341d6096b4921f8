#include "logger/HeaderBackup.h"

#include "logger/FunctionsSubs.h"
#include "logger/HeaderLineWriter.h"
#include "logger/LoggerConnection.h"
#include "logger/WholeFile.h"
#include "platform/Dialogs.h"

#include <QDir>

HeaderBackup::HeaderBackup(const Parts &parts) : m_p(parts)
{
}

QString HeaderBackup::proposedName(const QString &kind) const
{
    return m_p.connection.header.serialNumber.trimmed() + u'-'
        + m_p.now().toString(QStringLiteral("yyyyMMdd-hhmmss")) + u' ' + kind + QStringLiteral(".txt");
}

std::optional<QList<HeaderDataFile::Record>> HeaderBackup::readWholeHeader()
{
    LoggerConnection &c = m_p.connection;
    HeaderLineWriter reader(c.transport, c.state);
    reader.begin();
    QList<HeaderDataFile::Record> records;
    for (int address : HeaderDataFile::addresses()) {
        const std::optional<QString> data =
            address < HeaderDataFile::HexLinesEnd ? reader.readHex(address) : reader.readText(address);
        if (!data) {
            m_p.dialogs.Message_Box(QStringLiteral("Line ") + fnHex4(address)
                                        + QStringLiteral(" could not be read from the logger, so no header file was written."),
                                    int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Header Not Saved"));
            return std::nullopt;
        }
        records << HeaderDataFile::Record{address, *data};
    }
    return records;
}

bool HeaderBackup::writeFile(const QString &path, const QList<HeaderDataFile::Record> &records)
{
    QString error;
    if (WholeFile::write(path, HeaderDataFile::text(records), &error))
        return true;
    m_p.dialogs.Message_Box(path + QStringLiteral("\r\n") + error, int(Dialogs::OkOnly) | Dialogs::Exclamation,
                            QStringLiteral("Header Not Saved"));
    return false;
}

std::optional<QString> HeaderBackup::keep()
{
    const std::optional<QList<HeaderDataFile::Record>> records = readWholeHeader();
    const QString path = QDir(m_p.dataFolder()).filePath(proposedName(QStringLiteral("HEADER BACKUP")));
    if (!records || !writeFile(path, *records))
        return std::nullopt;
    return path;
}
