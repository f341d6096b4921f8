#include "calibration/CalibrationLog.h"

#include "calibration/CalNumbers.h"
#include "logger/download/CsvText.h"

#include <QDir>
#include <cmath>
#include <QFile>
#include <QStringList>

namespace {

const QString LineBreak = QStringLiteral("\r\n");

} // namespace

QString CalibrationLog::headerLine()
{
    QStringList names = {QStringLiteral("Date and time"), QStringLiteral("Logger serial"),
                         QStringLiteral("Channel")};
    const char *const fields[] = {"model", "sensor serial", "units", "slope", "offset", "due date"};
    for (const char *field : fields) {
        names << QStringLiteral("Old ") + QLatin1String(field) << QStringLiteral("New ") + QLatin1String(field);
    }
    QStringList cells;
    for (const QString &name : names)
        cells << CsvText::quoted(name);
    return cells.join(u',');
}

QString CalibrationLog::timeText(const QDateTime &when)
{
    const int offset = when.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + (offset < 0 ? u'-' : u'+')
        + QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

QString CalibrationLog::line(const QString &loggerSerial, const Entry &entry, const QDateTime &when)
{
    const ChannelCalRecord &a = entry.before;
    const ChannelCalRecord &b = entry.after;
    const QStringList cells = {
        timeText(when),
        textCell(loggerSerial),
        QString::number(entry.channel),
        textCell(a.modelNumber), textCell(b.modelNumber),
        textCell(a.serialNumber), textCell(b.serialNumber),
        textCell(a.engUnits), textCell(b.engUnits),
        numberCell(a.slope), numberCell(b.slope),
        numberCell(a.offset), numberCell(b.offset),
        dueDateCell(a.calDue), dueDateCell(b.calDue),
    };
    return cells.join(u',');
}

// The fixed-width texts lose their padding blanks; a text a spreadsheet
// would take for a formula is neutralised as in the download files.
QString CalibrationLog::textCell(const QString &text)
{
    return CsvText::quoted(text.trimmed());
}

// A number stays a number cell; anything else is a quoted text.
QString CalibrationLog::numberCell(const CalValue &value)
{
    const QString text = value.text.trimmed();
    if (text.isEmpty())
        return QString();
    const std::optional<double> number = CalNumbers::strictValue(text);
    if (number && std::isfinite(*number) && !text.contains(u','))
        return text;
    return textCell(text);
}

QString CalibrationLog::dueDateCell(const QString &calDue)
{
    const std::optional<QDate> date = CalNumbers::dueDate(calDue.trimmed());
    return date ? date->toString(QStringLiteral("yyyy-MM-dd")) : textCell(calDue);
}

bool CalibrationLog::append(const QString &folder, const QString &loggerSerial, const QList<Entry> &entries,
                            const QDateTime &when, QString *error)
{
    if (entries.isEmpty())
        return true;
    if (folder.isEmpty() || !QDir(folder).exists()) {
        if (error)
            *error = QStringLiteral("The data folder \"%1\" does not exist.").arg(folder);
        return false;
    }
    QFile file(QDir(folder).filePath(fileName()));
    // Read and write, never truncate: the lines already there stay.
    if (!file.open(QIODevice::ReadWrite)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QString text;
    const qint64 size = file.size();
    if (size == 0) {
        text = headerLine() + LineBreak;
    } else {
        // A last line cut short (a full disk, a crash) is ended first, so the
        // new lines do not run into it.
        file.seek(size - 1);
        if (file.read(1) != "\n")
            text = LineBreak;
    }
    for (const Entry &entry : entries)
        text += line(loggerSerial, entry, when) + LineBreak;
    const QByteArray bytes = text.toUtf8();
    const bool written = file.seek(size) && file.write(bytes) == bytes.size() && file.flush();
    if (!written && error)
        *error = file.errorString();
    return written;
}
