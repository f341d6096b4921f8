#include "calibration/CalibrationFile.h"

#include "calibration/CalNumbers.h"
#include "logger/LoggerHeader.h"
#include "platform/StartupSettings.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <cmath>

const QString CalibrationFile::SingleChannelType = QStringLiteral("VOSK & Signal Conditioning Calibration Data");
const QString CalibrationFile::AllChannelType = QStringLiteral("Signal Conditioning Calibration Data");

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString line(const QString &first, const QString &second)
{
    return CalibrationFile::quoted(first) + u',' + CalibrationFile::quoted(second) + CrLf;
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

QString CalibrationFile::quoted(const QString &text)
{
    QString doubled = text;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

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
        text += quoted(CalFields::label(CalFields::ChannelNumber)) + u',' + QString::number(index + 1) + CrLf;
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

QStringList CalibrationFile::lines(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    static const QRegularExpression endings(QStringLiteral("\r\n|\r|\n"));
    QStringList result = text.split(endings);
    if (result.size() > MaxLines)
        result.resize(MaxLines);
    return result;
}

// Items are separated by commas outside quotes. Inside quotes "" is one
// quote; a lone quote that does not close the item (a file written by an
// older program that did not double them) is kept as a character.
QStringList CalibrationFile::items(const QString &line)
{
    QStringList result;
    QString item;
    bool inQuotes = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c != u'"') {
                item += c;
            } else if (i + 1 < line.size() && line.at(i + 1) == u'"') {
                item += c;
                ++i;
            } else if (i + 1 == line.size() || line.at(i + 1) == u',') {
                inQuotes = false;
            } else {
                item += c;
            }
        } else if (c == u',') {
            result << (wasQuoted ? item : item.trimmed());
            item.clear();
            wasQuoted = false;
        } else if (c == u'"' && item.trimmed().isEmpty() && !wasQuoted) {
            item.clear();
            inQuotes = true;
            wasQuoted = true;
        } else {
            item += c;
        }
    }
    result << (wasQuoted ? item : item.trimmed());
    return result;
}

bool CalibrationFile::isType(const QStringList &fileLines, const QString &type)
{
    return !fileLines.isEmpty() && items(fileLines.first()).first() == type;
}

std::optional<CalibrationFile::SingleChannel> CalibrationFile::readSingleChannel(const QByteArray &bytes)
{
    const QStringList fileLines = lines(bytes);
    if (!isType(fileLines, SingleChannelType))
        return std::nullopt;
    SingleChannel result;
    for (const QString &fileLine : fileLines.mid(1)) {
        const QStringList pair = items(fileLine);
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
    const QStringList fileLines = lines(bytes);
    if (!isType(fileLines, AllChannelType))
        return false;
    // A block naming a channel the logger does not have is dropped, field by field.
    const int channels = header.channelBlocks();
    int index = 0;
    for (const QString &fileLine : fileLines.mid(1)) {
        const QStringList pair = items(fileLine);
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
