#include "calibration/CalibrationFile.h"

#include "calibration/CalNumbers.h"
#include "logger/QuotedRecords.h"
#include "logger/LoggerHeader.h"
#include "platform/StartupSettings.h"

#include <cmath>

const QString CalibrationFile::SingleChannelType = QStringLiteral("VOSK & Signal Conditioning Calibration Data");
const QString CalibrationFile::AllChannelType = QStringLiteral("Signal Conditioning Calibration Data");

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString line(const QString &first, const QString &second)
{
    return QuotedRecords::quoted(first) + u',' + QuotedRecords::quoted(second) + CrLf;
}

QString emptyLine()
{
    return line(QString(), QString());
}

// A due date of the record as "yyyy-mm-dd"; a text that is no date stays as it is.
QString isoDueDate(const QString &calDue)
{
    const std::optional<QDate> date = CalNumbers::dueDate(calDue);
    return date ? date->toString(QStringLiteral("yyyy-MM-dd")) : calDue;
}

} // namespace

QByteArray CalibrationFile::singleChannelText(const CalBoxes &boxes, const Stamp &stamp)
{
    QString text = line(SingleChannelType, QStringLiteral("File")) + line(stamp.date, stamp.time) + emptyLine();
    for (int number = 1; number < CalFields::CalType; ++number)
        text += line(CalFields::label(number), boxes[number]);
    text += line(CalFields::label(CalFields::CalType), CalFields::calTypeText(boxes.twoPoint)) + emptyLine();
    return text.toUtf8();
}

QByteArray CalibrationFile::allChannelText(const LoggerHeader &header, const QString &path, const QString &model,
                                           const QString &notes, const Stamp &stamp)
{
    const QString tabs(6, u'\t');
    QString text = line(AllChannelType, QString()) + emptyLine() + line(QStringLiteral("Filename: "), path)
        + line(stamp.date, stamp.time) + emptyLine()
        + line(tabs + QStringLiteral("Model Number:  "), CalFields::pad(model, 8))
        + line(tabs + QStringLiteral("Serial Number: "), CalFields::pad(header.serialNumber, 8)) + emptyLine()
        + line(notes, QString()) + emptyLine() + emptyLine();
    for (int index = 0; index < header.channelBlocks(); ++index) {
        const ChannelCalRecord &record = header.channel.at(index);
        text += QuotedRecords::quoted(CalFields::label(CalFields::ChannelNumber)) + u',' + QString::number(index + 1) + CrLf;
        text += line(CalFields::label(CalFields::CalDue), isoDueDate(record.calDue));
        for (int number = CalFields::ExcitationUnits; number < CalFields::CalType; ++number) {
            const QString value = number == CalFields::LoggerSerial ? header.serialNumber
                                                                    : CalFields::recordText(record, number);
            text += line(CalFields::label(number), value);
        }
        text += line(CalFields::label(CalFields::CalType), CalFields::calTypeText(record.calType == 1)) + emptyLine();
    }
    return text.toUtf8();
}

bool CalibrationFile::isType(const QStringList &fileLines, const QString &type)
{
    return !fileLines.isEmpty() && QuotedRecords::items(fileLines.first()).first() == type;
}

std::optional<CalibrationFile::SingleChannel> CalibrationFile::readSingleChannel(const QByteArray &bytes)
{
    const QStringList fileLines = QuotedRecords::lines(bytes, MaxLines);
    if (!isType(fileLines, SingleChannelType))
        return std::nullopt;
    SingleChannel result;
    for (const QString &fileLine : fileLines.mid(1)) {
        const QStringList pair = QuotedRecords::items(fileLine);
        const int number = CalFields::numberOfLabel(pair.first());
        const QString value = pair.value(1);
        if (number == CalFields::CalType)
            result.twoPoint = CalFields::twoPointFromText(value);
        else if (number >= CalFields::CalDue && number < CalFields::CalType)
            result.boxes[number] = value;
    }
    return result;
}

bool CalibrationFile::readAllChannels(const QByteArray &bytes, LoggerHeader &header)
{
    const QStringList fileLines = QuotedRecords::lines(bytes, MaxLines);
    if (!isType(fileLines, AllChannelType))
        return false;
    // A block naming a channel the logger does not have is dropped, field by field.
    const int channels = header.channelBlocks();
    int index = 0;
    for (const QString &fileLine : fileLines.mid(1)) {
        const QStringList pair = QuotedRecords::items(fileLine);
        const int number = CalFields::numberOfLabel(pair.first());
        const QString value = pair.value(1);
        if (number == CalFields::ChannelNumber) {
            // A channel number far outside the records drops its block like any other.
            double channel = 0.0;
            if (StartupSettings::parseNumber(value, &channel))
                index = std::fabs(channel) < 1e6 ? int(StartupSettings::roundHalfEven(channel - 1)) : -1;
            continue;
        }
        if (number == CalFields::LoggerSerial) {
            header.serialNumber = CalFields::pad(value, 8);
            continue;
        }
        if (number == 0 || index < 0 || index >= channels)
            continue;
        ChannelCalRecord &record = header.channel.at(index);
        if (number == CalFields::CalType)
            record.calType = CalFields::twoPointFromText(value) ? 1 : 0;
        else if (number == CalFields::CalDue)
            record.calDue = value;
        else
            CalFields::setRecordText(record, number, value);
    }
    return true;
}
