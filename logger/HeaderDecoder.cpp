#include "logger/HeaderDecoder.h"

#include "logger/FunctionsSubs.h"
#include "logger/HeaderMap.h"
#include "logger/LoggerHeader.h"
#include "logger/MemoryChips.h"

#include <QRegularExpression>

#include <algorithm>
#include <limits>

namespace {

const QString BlankDueDate = QStringLiteral("2010/01/01");

// Sums like "+9.99999E+99" fit the field but not a float: they saturate.
float floatValue(const QString &text)
{
    const double value = HeaderDecoder::numericValue(text);
    constexpr double largest = std::numeric_limits<float>::max();
    return float(std::clamp(value, -largest, largest));
}

qint16 digitValue(const QString &text)
{
    return qint16(HeaderDecoder::numericValue(text.left(1)));
}

// A field that spans several lines (description, download file name) is
// kept at its full width and takes this line's share of it.
void splice(QString &field, const HeaderMap::Segment &segment, const QString &part)
{
    field = field.leftJustified(segment.spec->width, QLatin1Char(' '), true);
    field.replace(segment.fieldOffset, segment.width, part.leftJustified(segment.width));
}

void applyIdentity(LoggerHeader &h, HeaderField field, const QString &v)
{
    switch (field) {
    case HeaderField::ModelVersion: h.modelVersion = v; break;
    case HeaderField::SerialNumber: h.serialNumber = v; break;
    case HeaderField::HeaderVersion: h.headerVersion = v; break;
    case HeaderField::FirmwareVersion: h.firmwareVersion = v; break;
    case HeaderField::MemoryInstalled:
        h.memoryInstalled = fnHexToLong(v);
        h.memoryInstalledHex = fnHex6(qint32(h.memoryInstalled));
        break;
    case HeaderField::InstalledChannels: h.installedChannels = qint16(fnHexToLong(v)); break;
    case HeaderField::AdResolution: h.adResolution = qint16(fnHexToLong(v)); break;
    case HeaderField::EngineId: h.engineId = v; break;
    case HeaderField::SigConId: h.sigConId = v; break;
    case HeaderField::EngineSn: h.engineSn = v; break;
    case HeaderField::SigConSn: h.sigConSn = v; break;
    case HeaderField::FactoryId: h.factoryId = v; break;
    case HeaderField::ClientInfo: h.clientInfo = v; break;
    case HeaderField::ControllerId: h.controllerId = v; break;
    case HeaderField::TcoreSlope: h.tcoreSlope = floatValue(v); break;
    case HeaderField::TcoreOffset: h.tcoreOffset = floatValue(v); break;
    default: break;
    }
}

void applyTest(LoggerHeader &h, HeaderField field, const QString &v)
{
    switch (field) {
    case HeaderField::TestPointer: h.testPointer = fnHexToLong(v); break;
    case HeaderField::InitializedBy: h.initializedBy = v; break;
    case HeaderField::ScanPeriod: h.scanPeriod = fnHexToLong(v); break;
    case HeaderField::WaitTime: h.waitTime = fnHexToLong(v); break;
    case HeaderField::ScanCount: h.scanCount = fnHexToLong(v); break;
    case HeaderField::InitDate: h.initDate = fnSerialTextToDate(v); break;
    case HeaderField::BatteryInits: h.batteryInits = fnHexToLong(v); break;
    case HeaderField::StartDate: h.startDate = fnSerialTextToDate(v); break;
    case HeaderField::TotalInits: h.totalInits = fnHexToLong(v); break;
    case HeaderField::StopDate: h.stopDate = fnSerialTextToDate(v); break;
    case HeaderField::ActiveChannelCount: h.activeChannelCount = qint16(fnHexToLong(v)); break;
    case HeaderField::InitTimeZone: h.initTimeZone = v; break;
    case HeaderField::InitHeaderVersion: h.initHeaderVersion = v; break;
    case HeaderField::BatteryDate: h.batteryDate = fnSerialTextToDate(v); break;
    case HeaderField::LastDownloadTime: h.lastDownloadTime = v; break;
    default: break;
    }
}

CalValue calValue(const QString &text)
{
    return {text, floatValue(text)};
}

CalValue *quantity(ChannelCalRecord &r, ChannelField field)
{
    switch (field) {
    case ChannelField::Slope: return &r.slope;
    case ChannelField::Offset: return &r.offset;
    case ChannelField::ScExcitation: return &r.scExcitation;
    case ChannelField::ScOffset: return &r.scOffset;
    case ChannelField::ScGain: return &r.scGain;
    case ChannelField::MilliAt0: return &r.milliAt0;
    case ChannelField::EuAt0: return &r.euAt0;
    case ChannelField::FsEuAt0: return &r.fsEuAt0;
    case ChannelField::MilliAt100: return &r.milliAt100;
    case ChannelField::EuAt100: return &r.euAt100;
    case ChannelField::FsEuAt100: return &r.fsEuAt100;
    case ChannelField::Excitation: return &r.excitation;
    case ChannelField::ScOutputAt0: return &r.scOutputAt0;
    case ChannelField::ScOutputAt100: return &r.scOutputAt100;
    default: return nullptr;
    }
}

void applyChannelText(ChannelCalRecord &r, ChannelField field, const QString &v)
{
    switch (field) {
    case ChannelField::ModelNumber: r.modelNumber = v; break;
    case ChannelField::SerialNumber: r.serialNumber = v; break;
    case ChannelField::EngUnits: r.engUnits = v; break;
    case ChannelField::Location: r.location = v; break;
    // xD0 repeats the units of x30; the record keeps the one of x30.
    case ChannelField::ExcitationUnits: r.excitationUnits = v; break;
    case ChannelField::CalDue: r.calDue = HeaderDecoder::calDueDate(HeaderDecoder::repairedCalDue(v)); break;
    case ChannelField::CalType:
        if (v == QLatin1String("0") || v == QLatin1String("1"))
            r.calType = digitValue(v);
        break;
    default: break;
    }
}

} // namespace

void HeaderDecoder::applyLine(LoggerHeader &header, int address, const QString &lineData)
{
    for (const HeaderMap::Segment &segment : HeaderMap::segmentsAt(address)) {
        if (!segment.spec->read)
            continue;
        const QString part = HeaderMap::take(lineData, segment.lineOffset, segment.width);
        switch (segment.spec->field) {
        case HeaderField::Description: splice(header.description, segment, part); break;
        case HeaderField::LastDownloadFile: splice(header.lastDownloadFile, segment, part); break;
        case HeaderField::Notes: break; // decoded as a whole page, see notesText()
        default:
            applyIdentity(header, segment.spec->field, part);
            applyTest(header, segment.spec->field, part);
            break;
        }
    }
    if (address == HeaderMap::spec(HeaderField::MemoryChips).address) {
        const auto digit = [&](HeaderField field) {
            const HeaderFieldSpec &spec = HeaderMap::spec(field);
            return digitValue(HeaderMap::take(lineData, spec.offset, spec.width));
        };
        MemoryChips::subCalcMemSize(header, digit(HeaderField::MemoryChips),
                                    digit(HeaderField::MemoryTypeCode));
    }
}

void HeaderDecoder::applyChannelLine(ChannelCalRecord &record, int line, const QString &lineData)
{
    for (const ChannelFieldSpec &spec : HeaderMap::channelFieldsAt(line)) {
        const QString part = HeaderMap::take(lineData, spec.offset, spec.width);
        if (CalValue *value = quantity(record, spec.field))
            *value = calValue(part);
        else
            applyChannelText(record, spec.field, part);
    }
    if (line == HeaderMap::spec(ChannelField::Slope).line)
        record.sensitivity = record.slope;
}

void HeaderDecoder::missingChannelLine(ChannelCalRecord &record, int line)
{
    for (const ChannelFieldSpec &spec : HeaderMap::channelFieldsAt(line)) {
        if (CalValue *value = quantity(record, spec.field))
            *value = {QStringLiteral("0"), 0.0f};
    }
}

QString HeaderDecoder::repairedCalDue(const QString &field)
{
    if (field.mid(5, 2) != QLatin1String(".x"))
        return field;
    const int day = int(std::clamp(numericValue(field), 0.0, 99999.0));
    return QStringLiteral("%1.000000").arg(day, 5, 10, QLatin1Char('0'));
}

QString HeaderDecoder::calDueDate(const QString &field)
{
    if (!field.contains(QLatin1Char('.')))
        return BlankDueDate;
    const QString trimmed = field.trimmed();
    QDateTime date = fnSerialTextToDate(field);
    // A serial followed by junk still counts by its number ("40123.5xxxxx").
    if (!date.isValid() && !trimmed.isEmpty() && trimmed.at(0) >= u'0' && trimmed.at(0) <= u'9')
        date = fnSerialToDate(numericValue(field));
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : BlankDueDate;
}

std::optional<QString> HeaderDecoder::notesText(const QString &raw)
{
    const qsizetype end = raw.indexOf(QLatin1Char('^'));
    if (end < 0)
        return std::nullopt;
    return raw.left(end).replace(QStringLiteral("@@"), QStringLiteral("\r\n"));
}

double HeaderDecoder::numericValue(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^[ ]*([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}
