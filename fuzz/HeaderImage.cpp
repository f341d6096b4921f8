#include "fuzz/HeaderImage.h"

#include "logger/HeaderDecoder.h"
#include "logger/HeaderMap.h"

#include <cstring>

namespace HeaderImage {

namespace {

constexpr int FixedLines[] = {0x0200, 0x0210, 0x0220, 0x0230, 0x0240, 0x02B0, 0x02C0, 0x02D0,
                              0x0400, 0x0410, 0x0420, 0x0430, 0x0440, 0x0450, 0x0460, 0x0470,
                              0x0480, 0x0490, 0x0500, 0x0510, 0x0540, 0x0550, 0x0560};

bool sameFloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

QString valueDifference(const char *name, const CalValue &a, const CalValue &b, bool values)
{
    if (a.text != b.text || (values && !sameFloat(a.value, b.value)))
        return QString::fromLatin1(name) + QStringLiteral(": '%1' %2 / '%3' %4")
                                               .arg(a.text).arg(double(a.value))
                                               .arg(b.text).arg(double(b.value));
    return QString();
}

} // namespace

QString lineText(const QByteArray &image, int address)
{
    return QString::fromLatin1(image.mid(address, HeaderMap::LineBytes));
}

QList<int> textLines()
{
    QList<int> lines(std::begin(FixedLines), std::end(FixedLines));
    for (int page = HeaderMap::FirstChannelPage; page < HeaderMap::FirstChannelPage + 8; ++page)
        for (int line = 0; line < HeaderMap::ChannelBlockLines; ++line)
            lines << page * 0x100 + line * HeaderMap::LineBytes;
    for (int line = 0; line < HeaderMap::NotesLines; ++line)
        lines << HeaderMap::NotesAddress + line * HeaderMap::LineBytes;
    return lines;
}

LoggerHeader decode(const QByteArray &image)
{
    LoggerHeader header;
    for (int address : FixedLines)
        HeaderDecoder::applyLine(header, address, lineText(image, address));
    for (int index = 0; index < header.channelBlocks(); ++index) {
        ChannelCalRecord &record = header.channel[size_t(index)];
        for (int line = 0; line < HeaderMap::ChannelBlockLines * HeaderMap::LineBytes;
             line += HeaderMap::LineBytes) {
            const QString data = lineText(image, HeaderMap::channelLineAddress(index, line));
            const ChannelFieldSpec &due = HeaderMap::spec(ChannelField::CalDue);
            QString repaired = data;
            if (line == due.line) {
                const QString field = HeaderMap::take(data, due.offset, due.width);
                repaired = data.left(due.offset) + HeaderDecoder::repairedCalDue(field)
                    + data.mid(due.offset + due.width);
            }
            HeaderDecoder::applyChannelLine(record, line, repaired);
        }
    }
    QString raw;
    for (int line = 0; line < HeaderMap::NotesLines; ++line)
        raw += lineText(image, HeaderMap::NotesAddress + line * HeaderMap::LineBytes);
    if (const std::optional<QString> notes = HeaderDecoder::notesText(raw))
        header.notes = *notes;
    return header;
}

QString difference(const ChannelCalRecord &a, const ChannelCalRecord &b, bool values)
{
#define TEXT(f) if (a.f != b.f) return QStringLiteral(#f ": '%1' / '%2'").arg(a.f, b.f);
#define VALUE(f) if (QString d = valueDifference(#f, a.f, b.f, values); !d.isEmpty()) return d;
    TEXT(modelNumber) TEXT(serialNumber) TEXT(engUnits) TEXT(location) TEXT(excitationUnits)
    TEXT(calDue)
    VALUE(slope) VALUE(offset) VALUE(scExcitation) VALUE(scOffset) VALUE(scGain)
    VALUE(milliAt0) VALUE(euAt0) VALUE(fsEuAt0) VALUE(milliAt100) VALUE(euAt100)
    VALUE(fsEuAt100) VALUE(excitation) VALUE(scOutputAt0) VALUE(scOutputAt100)
    VALUE(sensitivity)
    if (a.calType != b.calType)
        return QStringLiteral("calType %1 / %2").arg(a.calType).arg(b.calType);
    return QString();
}

QString difference(const LoggerHeader &a, const LoggerHeader &b)
{
#define SAME(f) if (!(a.f == b.f)) return QStringLiteral(#f);
    TEXT(modelVersion) TEXT(serialNumber) TEXT(headerVersion) TEXT(firmwareVersion)
    TEXT(memoryInstalledHex) TEXT(engineId) TEXT(sigConId) TEXT(engineSn) TEXT(sigConSn)
    TEXT(factoryId) TEXT(clientInfo) TEXT(controllerId) TEXT(initializedBy) TEXT(initTimeZone)
    TEXT(description) TEXT(initHeaderVersion) TEXT(lastDownloadTime) TEXT(lastDownloadFile)
    TEXT(notes)
    SAME(memoryInstalled) SAME(installedChannels) SAME(adResolution) SAME(memoryChips)
    SAME(memoryTypeCode) SAME(chipBytes) SAME(testPointer) SAME(scanPeriod) SAME(waitTime)
    SAME(scanCount) SAME(initDate) SAME(startDate) SAME(stopDate) SAME(batteryDate)
    SAME(batteryInits) SAME(totalInits) SAME(activeChannelCount)
    if (!sameFloat(a.tcoreSlope, b.tcoreSlope) || !sameFloat(a.tcoreOffset, b.tcoreOffset))
        return QStringLiteral("tcore");
    const bool values = true;
    for (size_t c = 0; c < a.channel.size(); ++c)
        if (QString d = difference(a.channel[c], b.channel[c], values); !d.isEmpty())
            return QStringLiteral("channel %1 ").arg(c + 1) + d;
    return QString();
#undef SAME
#undef TEXT
#undef VALUE
}

} // namespace HeaderImage
