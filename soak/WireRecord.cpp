#include "soak/WireRecord.h"

#include "sim/SimPort.h"

#include <QRegularExpression>
#include <cstring>

void WireRecord::attach(SimPort &port)
{
    port.setWireTap([this](bool fromLogger, const QByteArray &bytes) {
        (fromLogger ? m_fromLogger : m_fromPc) += bytes;
    });
}

void WireRecord::clear()
{
    m_fromPc.clear();
    m_fromLogger.clear();
}

QByteArray WireRecord::commandLetters() const
{
    QByteArray letters;
    for (const QByteArray &command : m_fromPc.split('\r')) {
        if (!command.isEmpty())
            letters += command.at(0);
    }
    return letters;
}

bool WireRecord::sentAnyOf(const char *letters) const
{
    for (char letter : commandLetters()) {
        if (letter != 0 && std::strchr(letters, letter))
            return true;
    }
    return false;
}

QMap<qint64, QString> WireRecord::soundDataLines() const
{
    static const QRegularExpression line(QStringLiteral("e([0-9A-F]{6})#([0-9A-F]{32})([0-9A-F]{2})$"));
    QMap<qint64, QString> lines;
    for (const QByteArray &segment : m_fromLogger.split('\r')) {
        const QRegularExpressionMatch m = line.match(QString::fromLatin1(segment));
        if (!m.hasMatch())
            continue;
        const QString text = m.captured(0);
        unsigned sum = 0;
        for (QChar c : text.mid(1, text.size() - 3))
            sum += c.unicode();
        if (int(sum & 0xFF) == m.captured(3).toInt(nullptr, 16))
            lines.insert(m.captured(1).toLongLong(nullptr, 16), text);
    }
    return lines;
}

QString WireRecord::dataLine(qint64 address, const QByteArray &bytes)
{
    const QString body = QStringLiteral("%1#").arg(address, 6, 16, QChar(u'0')).toUpper()
        + QString::fromLatin1(bytes.toHex().toUpper());
    unsigned sum = 0;
    for (QChar c : body)
        sum += c.unicode();
    return u'e' + body + QStringLiteral("%1").arg(sum & 0xFF, 2, 16, QChar(u'0')).toUpper();
}
