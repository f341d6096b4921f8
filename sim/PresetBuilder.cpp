#include "sim/PresetBuilder.h"

#include "logger/FunctionsSubs.h"

#include <cmath>

namespace {

// Reference voltages of the A/D converter and the battery divider, as the
// factory writes the trip levels.
constexpr double ReferenceLowVolts = 0.116;
constexpr double ReferenceHighVolts = 3.00;
constexpr double BatteryDivider = 7.66666;
constexpr double BatteryLimitVolts = 7.0;
constexpr double SupplyLimitVolts = 6.0;
constexpr int FirstSettle = 0x000100;
constexpr int SecondSettle = 0x000200;

int tripCount(double limitVolts)
{
    const double oneCount = (ReferenceHighVolts - ReferenceLowVolts) / 4096;
    const long count = std::lround((limitVolts / BatteryDivider - ReferenceLowVolts) / oneCount);
    return int(std::clamp(count, 0L, 4096L));
}

QString serialText(const QDateTime &when, int decimals = 6)
{
    return fnSerialText(fnDateToSerial(when), decimals);
}

} // namespace

PresetBuilder::PresetBuilder(const LoggerIdentity &identity, const QDateTime &factoryDate)
    : m_identity(identity), m_header(m_image.header)
{
    m_image.data = QByteArray(memoryInstalled(), '\xFF');
    m_scans = std::make_unique<ScanWriter>(m_image.data);
    // Unused binary lines read as erased EEPROM; unused text lines as blanks.
    m_header.fill(0x0000, LoggerImage::FirstTextLine - 16, '\xFF');
    m_header.fill(LoggerImage::FirstTextLine, LoggerImage::HeaderSize - 16, ' ');
    writeIdentity(factoryDate);
    writeTripLevels();
    writeFactoryTestLines(factoryDate);
    writeFirstInitLiveBlock();
    for (int channel = 1; channel <= 8; ++channel) {
        const QStringList lines = ChannelCalibration::defaultLines(channel, identity.modelVersion);
        for (int line = 0; line < 16; ++line)
            m_header.text(0x0500 + channel * 0x100 + line * 16, lines[line]);
    }
    setNotes(QString());
}

qint64 PresetBuilder::chipBytes(int memoryTypeCode)
{
    return memoryTypeCode >= 0 && memoryTypeCode <= 5 ? qint64(16384) << memoryTypeCode : 65536;
}

qint64 PresetBuilder::memoryInstalled() const
{
    return m_identity.memoryChips * chipBytes(m_identity.memoryTypeCode);
}

void PresetBuilder::writeIdentity(const QDateTime &factoryDate)
{
    const LoggerIdentity &id = m_identity;
    const QString thirdNotice = "Z8 Data Logger  ";
    m_header.text(0x0200, id.modelVersion.leftJustified(8, ' ', true) + id.serialNumber);
    m_header.text(0x0210, id.headerVersion + id.firmwareVersion + fnHex6(qint32(memoryInstalled()))
                              + fnHex1(qint16(id.installedChannels)) + fnHex1(12));
    m_header.text(0x0220, id.engineId.leftJustified(8, ' ', true) + id.sigConId);
    m_header.text(0x0230, id.engineSn.leftJustified(8, ' ', true) + id.sigConSn);
    m_header.text(0x0240, "UNlock:" + serialText(factoryDate, 3));
    m_header.text(0x0250, "Manufactured in ");
    m_header.text(0x0260, "PellworthCA USA ");
    m_header.text(0x0270, "by KORVAN");
    m_header.text(0x0280, "Copyright KORVAN");
    m_header.text(0x0290, "All rights rsrvd");
    m_header.text(0x02A0, thirdNotice);
    m_header.text(0x02B0, "client info???  ");
    m_header.text(0x02C0, QString::number(id.memoryChips) + QString::number(id.memoryTypeCode));
    m_header.text(0x02D0, id.controllerId.leftJustified(8, ' ', true) + "0.25" + "-40 ");
    m_header.text(0x02E0, thirdNotice);
    m_header.text(0x02F0, thirdNotice);
}

void PresetBuilder::writeTripLevels()
{
    m_batteryTrip = tripCount(BatteryLimitVolts);
    m_header.hex(0x0050, fnHex4(m_batteryTrip) + fnHex4(tripCount(SupplyLimitVolts))
                             + fnHex6(FirstSettle) + "FF" + fnHex6(SecondSettle)
                             + fnHex4(qint32(std::lround(ReferenceLowVolts * 1000)))
                             + fnHex4(qint32(std::lround(ReferenceHighVolts * 1000))) + "FF");
}

void PresetBuilder::writeFactoryTestLines(const QDateTime &factoryDate)
{
    const QString date = serialText(factoryDate);
    m_header.text(0x0400, "000000FactoryInt");
    m_header.text(0x0410, "003C00000100FFFF");
    m_header.text(0x0420, date + "0000");
    m_header.text(0x0430, date + "0000");
    m_header.text(0x0440, date + fnHex1(qint16(m_identity.installedChannels))
                              + timeZoneText(factoryDate));
    for (int line = 0; line < 4; ++line)
        m_header.text(0x0450 + 16 * line, QStringLiteral("Factory Init %1").arg(line + 1, 3, 10, QChar('0')));
    m_header.text(0x0490, m_identity.headerVersion + "++++++++++++");
    for (int address : {0x0500, 0x0510, 0x0520})
        m_header.text(address, date + "    ");
    for (int address : {0x0530, 0x0540, 0x0550, 0x0560})
        m_header.text(address, QString(16, 'x'));
}

void PresetBuilder::writeFirstInitLiveBlock()
{
    m_memoryByte = quint8(std::min(m_identity.memoryTypeCode, 3));
    const QString channels = fnHex2(qint16(m_identity.installedChannels));
    const QString setup = "0000" "0000" "0005" "000001" "007FFF" + channels + "000000";
    m_header.hex(0x0010, setup);
    m_header.hex(0x0020, setup);
    m_header.hex(0x0000, "0000A5" + fnHex2(m_memoryByte) + QString(16, '0') + channels + "000000");
    m_header.hex(0x0030, QString(32, '0'));
    m_header.hex(0x0040, QString("40").repeated(m_identity.installedChannels));
}

QString PresetBuilder::timeZoneText(const QDateTime &when) const
{
    const int hours = when.offsetFromUtc() / 3600;
    return (hours < 0 ? "-" : "+") + QStringLiteral("%1").arg(std::abs(hours), 2, 10, QChar('0'));
}

void PresetBuilder::calibrate(int channel, const ChannelCalibration &calibration)
{
    const QStringList lines = calibration.lines();
    for (int line = 0; line < 16; ++line)
        m_header.text(0x0500 + channel * 0x100 + line * 16, lines[line]);
}

void PresetBuilder::setNotes(const QString &notes)
{
    QString stored = QString(notes).replace("\r\n", "@@").replace('\n', "@@").left(255) + '^';
    stored = stored.leftJustified(256, ' ');
    for (int line = 0; line < 16; ++line)
        m_header.text(0x0E00 + line * 16, stored.mid(line * 16, 16));
}

void PresetBuilder::initializeTest(const TestSetup &setup)
{
    m_setup = setup;
    const QDateTime start = startTime();
    const QDateTime stop = start.addSecs(qint64(setup.scans) * setup.periodSeconds);
    const QString channels = fnHex2(qint16(setup.activeChannels));

    m_header.text(0x0210, setup.headerVersion + m_identity.firmwareVersion
                              + fnHex6(qint32(memoryInstalled()))
                              + fnHex1(qint16(m_identity.installedChannels)) + fnHex1(12));
    m_header.text(0x0400, "000000" + setup.initializedBy.right(10).rightJustified(10, ' '));
    const QString description = setup.description.leftJustified(64, ' ', true);
    for (int line = 0; line < 4; ++line)
        m_header.text(0x0450 + 16 * line, description.mid(16 * line, 16));
    m_header.text(0x0490, setup.headerVersion + "++++++++++++");
    m_header.text(0x0440, serialText(stop) + fnHex1(qint16(setup.activeChannels))
                              + timeZoneText(setup.initTime));
    for (int address : {0x0540, 0x0550, 0x0560})
        m_header.text(address, QString(16, 'x'));
    m_header.text(0x0420, serialText(start) + fnHex4(setup.batteryInits));
    m_header.text(0x0430, serialText(start) + fnHex4(setup.totalInits));
    m_header.text(0x0410, fnHex4(setup.periodSeconds) + fnHex6(setup.waitSeconds) + fnHex6(setup.scans));

    const QString preset = "0000" + fnHex4(setup.calInterval) + fnHex4(setup.periodSeconds)
                           + fnHex6(setup.waitSeconds) + fnHex6(setup.scans) + channels + "000000";
    m_header.hex(0x0010, preset);
    m_header.hex(0x0020, preset);
    QString configuration;
    for (int channel = 1; channel <= 8; ++channel) {
        int byte = channel <= setup.activeChannels ? 0x40 : 0;
        if (channel == 1 && setup.monitorChannel > 0)
            byte += 0x80 + setup.monitorChannel;
        configuration += fnHex2(qint16(byte));
    }
    m_header.hex(0x0040, configuration);
    m_memoryByte = quint8(m_identity.memoryTypeCode);
    m_header.hex(0x0000, "0000A5" + fnHex2(m_memoryByte) + QString(16, '0') + channels + "000000");

    m_scans = std::make_unique<ScanWriter>(m_image.data);
    m_scansTaken = 0;
    m_scansLeft = setup.scans;
    m_waitsLeft = setup.waitSeconds;
    m_image.statusByte = StatusLogging | StatusDump;
}

QDateTime PresetBuilder::startTime() const
{
    return m_setup.initTime.addSecs(m_setup.waitSeconds);
}

QString PresetBuilder::liveFields() const
{
    return fnHex6(m_waitsLeft) + fnHex6(m_scansLeft) + fnHex2(qint16(m_setup.activeChannels))
           + fnHex6(qint32(m_scans->pointer()));
}

void PresetBuilder::writeLiveCounters()
{
    m_header.hex(0x0020, "0000" + fnHex4(m_setup.calInterval) + fnHex4(m_setup.periodSeconds)
                             + liveFields());
}

bool PresetBuilder::recordScan(const QList<int> &counts,
                               std::optional<std::pair<int, int>> monitorMaxMin, bool counted)
{
    if (m_scansLeft <= 0 || !m_scans->writeScan(counts, monitorMaxMin)) {
        if (m_scansLeft > 0)
            m_image.statusByte = (m_image.statusByte & ~StatusLogging) | StatusMemoryFull;
        return false;
    }
    if (counted) {
        m_waitsLeft = 0;
        ++m_scansTaken;
        --m_scansLeft;
    }
    writeLiveCounters();
    return true;
}

void PresetBuilder::statusEvent(quint8 statusBits)
{
    // The event fields are the live counters at the moment of the event,
    // the pointer being where the status word goes.
    m_header.hex(0x0000, "0000A5" + fnHex2(m_memoryByte) + fnHex4(m_setup.periodSeconds) + liveFields());
    m_image.statusByte |= statusBits;
    m_scans->writeStatus(m_image.statusByte);
    writeLiveCounters();
}

void PresetBuilder::finishTest()
{
    m_image.statusByte = (m_image.statusByte & ~StatusLogging) | StatusDone;
}

void PresetBuilder::markDownloaded(const QDateTime &when, const QString &fileName)
{
    m_header.text(0x0540, when.toString("yyyy/MM/dd hh:mm"));
    const QString name = fileName.leftJustified(32, ' ', true);
    m_header.text(0x0550, name.left(16));
    m_header.text(0x0560, name.mid(16));
}

QDateTime PresetBuilder::scanTime(int k) const
{
    const bool longDelay = m_setup.waitSeconds > 255;
    if (k >= 0)
        return startTime().addSecs(qint64(k) * m_setup.periodSeconds);
    if (k == -1 && longDelay)
        return startTime().addSecs(-255);
    return m_setup.initTime;
}

void PresetBuilder::stampClock(const QDateTime &now)
{
    m_image.clock = now;
    m_image.schedule.reset();
    if ((m_image.statusByte & StatusLogging) && m_scansLeft > 0)
        m_image.schedule = LoggerImage::ScanSchedule{scanTime(m_scansTaken), false};
}
