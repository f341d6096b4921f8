#include "calibration/CalibrationFileCommands.h"

#include "calibration/CalNumbers.h"
#include "calibration/CalibrationFile.h"
#include "logger/LoggerConnection.h"
#include "logger/WholeFile.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QLocale>

const QString CalibrationFileCommands::Filter = QStringLiteral("TXT Files (*.txt)");
const QString CalibrationFileCommands::WrongTypeTitle = QStringLiteral("Wrong Type of Data File");

namespace {

// Calibration files are small; anything far larger is not one.
constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;

CalibrationFile::Stamp stamp(const QDateTime &now)
{
    const QLocale locale = QLocale::system();
    return {locale.toString(now.date(), QLocale::LongFormat), locale.toString(now.time(), QLocale::LongFormat)};
}

int question()
{
    return int(Dialogs::OkCancel) | Dialogs::Question | Dialogs::DefaultButton2;
}

} // namespace

CalibrationFileCommands::CalibrationFileCommands(const Parts &parts) : m_p(parts)
{
}

QString CalibrationFileCommands::askSaveName()
{
    const QString path =
        m_p.dialogs.getSaveFileName(QStringLiteral("Save Settings File"), m_p.dataFolder(), Filter);
    if (path.isEmpty())
        return {};
    if (m_p.dialogs.Message_Box(QStringLiteral("Save as ") + path + u'?', question(),
                                QStringLiteral("Save Settings to File"))
        == Dialogs::Cancel)
        return {};
    return path;
}

QString CalibrationFileCommands::askOpenName()
{
    const QString path =
        m_p.dialogs.getOpenFileName(QStringLiteral("Open Settings File"), m_p.dataFolder(), Filter);
    if (path.isEmpty())
        return {};
    if (m_p.dialogs.Message_Box(QStringLiteral("Load from ") + path + u'?', question(), QStringLiteral("Load File"))
        == Dialogs::Cancel)
        return {};
    return path;
}

bool CalibrationFileCommands::write(const QString &path, const QByteArray &text)
{
    QString error;
    if (WholeFile::write(path, text, &error))
        return true;
    m_p.dialogs.Message_Box(error, Dialogs::OkOnly, QStringLiteral("Save Settings to File"));
    return false;
}

std::optional<QByteArray> CalibrationFileCommands::read(const QString &path)
{
    QString error;
    const std::optional<QByteArray> bytes = WholeFile::read(path, MaxFileBytes, &error);
    if (!bytes)
        m_p.dialogs.Message_Box(error, Dialogs::OkOnly, QStringLiteral("Load File"));
    return bytes;
}

void CalibrationFileCommands::wrongType(const QString &path, const QString &type)
{
    m_p.dialogs.Message_Box(path + QStringLiteral(" is not a ") + type + QStringLiteral(" file."),
                            int(Dialogs::OkOnly) | Dialogs::Critical, WrongTypeTitle);
}

bool CalibrationFileCommands::saveSingleChannel(CalBoxes &boxes)
{
    const QString path = askSaveName();
    if (path.isEmpty())
        return false;
    if (boxes[CalFields::CalDue].isEmpty())
        boxes[CalFields::CalDue] = CalNumbers::defaultDueDate(today());
    return write(path, CalibrationFile::singleChannelText(boxes, stamp(m_p.now())));
}

bool CalibrationFileCommands::loadSingleChannel(CalBoxes &boxes)
{
    const QString path = askOpenName();
    if (path.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = read(path);
    if (!bytes)
        return false;
    const std::optional<CalibrationFile::SingleChannel> file = CalibrationFile::readSingleChannel(*bytes);
    if (!file) {
        wrongType(path, CalibrationFile::SingleChannelType);
        return false;
    }
    for (const auto &[number, text] : file->boxes)
        boxes[number] = text;
    if (file->twoPoint)
        boxes.twoPoint = *file->twoPoint;
    return true;
}

bool CalibrationFileCommands::saveAllChannels(const QString &notes)
{
    LoggerConnection &c = m_p.connection;
    if (!c.confirmedLogger())
        return false;
    const QString path = askSaveName();
    if (path.isEmpty())
        return false;
    for (int index = 0; index < c.header.channelBlocks(); ++index) {
        QString &due = c.header.channel.at(index).calDue;
        if (due.isEmpty())
            due = CalNumbers::defaultDueDate(today());
    }
    return write(path, CalibrationFile::allChannelText(c.header, QFileInfo(path).absoluteFilePath(),
                                                       c.header.modelVersion, notes, stamp(m_p.now())));
}

bool CalibrationFileCommands::loadAllChannels()
{
    LoggerConnection &c = m_p.connection;
    if (!c.confirmedLogger() || !m_p.passwordOK())
        return false;
    const QString path = askOpenName();
    if (path.isEmpty())
        return false;
    const std::optional<QByteArray> bytes = read(path);
    if (!bytes)
        return false;
    if (!CalibrationFile::readAllChannels(*bytes, c.header)) {
        wrongType(path, CalibrationFile::AllChannelType);
        return false;
    }
    m_p.dialogs.Message_Box(
        QStringLiteral("The new Signal Conditioning Calibration Data has been uploaded to the program.\r\n"
                       "If you would like to keep these setting click the 'Save to logger' button."),
        int(Dialogs::OkOnly) | Dialogs::Exclamation, QStringLiteral("Data Upload Complete"));
    return true;
}
