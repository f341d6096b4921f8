#include "logger/InitLines.h"

#include "logger/FactoryFields.h"
#include "logger/FunctionsSubs.h"
#include "logger/TestSetup.h"

#include <QRegularExpression>

const QString InitLines::HeaderVersion = QStringLiteral("0762");

namespace {

bool isHex(const QString &text, int digits)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]*$"));
    return text.size() == digits && hex.match(text).hasMatch();
}

QString problems(const FactoryFields &f)
{
    QStringList found;
    if (f.adResolution != InitLines::Resolution)
        found << QStringLiteral("A/D resolution is %1, must be 12").arg(f.adResolution);
    if (f.installedChannels < 1 || f.installedChannels > 8)
        found << QStringLiteral("installed channels is %1, must be 1 to 8").arg(f.installedChannels);
    if (f.firmwareVersion.size() != 4)
        found << QStringLiteral("firmware version \"%1\" is not 4 characters").arg(f.firmwareVersion);
    if (!isHex(f.memoryInstalledHex, 6))
        found << QStringLiteral("memory installed \"%1\" is not 6 hexadecimal digits")
                     .arg(f.memoryInstalledHex);
    return found.join(QStringLiteral("\r\n"));
}

} // namespace

QString InitLines::fit(const QString &text, int width)
{
    return text.leftJustified(width, u' ', true);
}

InitLines::Identity InitLines::identity(const FactoryFields &f, QString *problem)
{
    *problem = problems(f);
    if (!problem->isEmpty())
        return {};
    Identity lines;
    lines.line0200 = fit(f.modelVersion, 8) + fit(f.serialNumber, 8);
    lines.line0210 = HeaderVersion + f.firmwareVersion + f.memoryInstalledHex.toUpper()
        + fnHex1(qint16(f.installedChannels)) + fnHex1(qint16(f.adResolution));
    lines.line0220 = fit(f.engineId, 8) + fit(f.sigConId, 8);
    lines.line0230 = fit(f.engineSn, 8) + fit(f.sigConSn, 8);
    return lines;
}

std::optional<QString> InitLines::startPointer(const QString &field)
{
    const QString trimmed = field.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("000000");
    if (!isHex(trimmed, 6))
        return std::nullopt;
    return trimmed.toUpper();
}

QString InitLines::channelConfig(const TestSetup &setup)
{
    QString digits;
    for (int c = 0; c < TestSetup::Channels; ++c) {
        int byte = setup.channelSelect[size_t(c)];
        if (c == 0 && setup.monitorChannel > 0)
            byte += setup.monitorChannel + 128;
        digits += fnHex2(qint16(byte));
    }
    return digits + QString(16, u'0');
}

QString InitLines::setupDigits(const TestSetup &setup, const QString &startPointer)
{
    const QString digits = QStringLiteral("0000") + fnHex4(qint32(setup.calInterval))
        + fnHex4(qint32(setup.periodSeconds)) + fnHex6(qint32(setup.waitSeconds))
        + fnHex6(qint32(setup.scans)) + fnHex2(qint16(setup.highestChannel)) + startPointer
        + QStringLiteral("000000");
    return digits.left(32);
}

QString InitLines::liveLine(int memoryTypeCode, int channels, const QString &startPointer)
{
    const int code = memoryTypeCode >= 0 && memoryTypeCode <= 5 ? memoryTypeCode : 6;
    const QString digits = QStringLiteral("0000A5") + QStringLiteral("%1").arg(code, 2, 10, QChar(u'0'))
        + QString(16, u'0') + fnHex2(qint16(channels)) + startPointer + QStringLiteral("000000");
    return digits.left(32);
}

QString InitLines::timeZoneText(int hours)
{
    const QChar sign = hours < 0 ? u'-' : u'+';
    return sign + QStringLiteral("%1").arg(qAbs(hours) % 100, 2, 10, QChar(u'0'));
}

QStringList InitLines::descriptionLines(const QString &description)
{
    const QString text = fit(description, 64);
    return {text.mid(0, 16), text.mid(16, 16), text.mid(32, 16), text.mid(48, 16)};
}

QString InitLines::stopLine(const QDateTime &stop, int channels, int timeZoneHours)
{
    return fnDateToSerialText(stop) + fnHex1(qint16(channels)) + timeZoneText(timeZoneHours);
}

QString InitLines::periodLine(const TestSetup &setup)
{
    return fnHex4(qint32(setup.periodSeconds)) + fnHex6(qint32(setup.waitSeconds))
        + fnHex6(qint32(setup.scans));
}
