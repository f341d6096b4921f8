#include "sim/LoggerPresets.h"

#include "sim/ChannelSignals.h"
#include "sim/PresetBuilder.h"

#include <span>

namespace {

struct Sensor
{
    const char *model, *serial, *units, *location;
    float readingA, euA, readingB, euB, fullScaleLow, fullScaleHigh;
};

// The sensors the field loggers carry on channels 1-4: a pressure
// transducer, a temperature probe, a humidity probe and the logger's own
// battery (its divider and references give 0.889 V at count 0 and about
// 5.4 mV per count).
const Sensor FieldSensors[] = {
    {"PX309-1K", "P1187342", "PSI ", "PUMP", 150, 0, 3750, 1000, 0, 1000},
    {"TMP-RTD3", "T0928815", "DegF", "PIPE", 200, -40, 3900, 250, -40, 250},
    {"HMP-60  ", "H5521907", "%RH ", "ROOM", 0, 0, 4000, 100, 0, 100},
    {"LOGGER  ", "INTERNAL", "Vbat", "BATT", 0, 0.8893f, 4000, 22.4818f, 0, 20},
};

const Sensor PhSensor = {"PHE-45P ", "PH118830", "pH  ", "TANK", 1000, 4.01f, 2000, 7.00f, 0, 14};

ChannelCalibration calibration(const Sensor &sensor, const QString &modelVersion, const QDate &due)
{
    ChannelCalibration c;
    c.modelNumber = sensor.model;
    c.serialNumber = sensor.serial;
    c.engUnits = sensor.units;
    c.location = sensor.location;
    const bool millivolts = modelVersion.contains("MC");
    c.excitationUnits = millivolts ? " mV " : "uAmp";
    c.scExcitation = c.excitation = millivolts ? 5000 : 1000;
    c.calDue = due;
    c.milliAt0 = sensor.readingA;
    c.euAt0 = sensor.euA;
    c.milliAt100 = sensor.readingB;
    c.euAt100 = sensor.euB;
    c.fsEuAt0 = sensor.fullScaleLow;
    c.fsEuAt100 = sensor.fullScaleHigh;
    c.computeFactors();
    return c;
}

void calibrateFieldChannels(PresetBuilder &builder, const LoggerIdentity &id, int channels,
                            const QDate &due)
{
    for (int channel = 1; channel <= channels && channel <= 4; ++channel)
        builder.calibrate(channel, calibration(FieldSensors[channel - 1], id.modelVersion, due));
}

LoggerIdentity identity(const char *model, const char *serial, const char *firmware,
                        int channels, int chips, int typeCode)
{
    LoggerIdentity id;
    id.modelVersion = model;
    id.serialNumber = serial;
    id.firmwareVersion = firmware;
    id.installedChannels = channels;
    id.memoryChips = chips;
    id.memoryTypeCode = typeCode;
    id.engineId = "ENG-Z8A";
    id.sigConId = "SC-MC8";
    id.engineSn = QStringLiteral("E") + (serial + 1);
    id.sigConSn = QStringLiteral("S") + (serial + 1);
    id.controllerId = "PIC18F8X";
    return id;
}

// A stretch of scans in which a channel's input sits at one count: a probe
// pulled off (0) or a sensor driven past its range (4095).
struct Clip
{
    int channel, firstScan, scans, count;
};

// The finished test's field history: the temperature probe came loose for a
// few scans, the humidity probe was saturated by a wash-down, and a pressure
// surge drove the monitored pressure channel past its range.
const Clip FinishedClips[] = {
    {2, 700, 4, 0},
    {3, 1500, 3, ChannelSignals::MaxCount},
    {1, 2200, 2, ChannelSignals::MaxCount},
};

void applyClips(ChannelSignals &inputs, std::span<const Clip> clips, int scan)
{
    for (const Clip &clip : clips) {
        if (scan == clip.firstScan)
            inputs.force(clip.channel, clip.count);
        else if (scan == clip.firstScan + clip.scans)
            inputs.release(clip.channel);
    }
}

// Takes a test's scans the way the logging firmware does: the wake-up
// scans at logging on (two when the start delay is longer than 255 s), then
// the counted ones, each with the converter's counts for channels 1..N and,
// with a monitor channel, its maximum and minimum. From scan batterySinksAt
// on, the battery channel (4) sinks by a count a scan; at the first scan that
// finds it below the trip level a battery-low event is recorded before it.
// During each clip the channel reads the clip's count.
void recordScans(PresetBuilder &builder, int counted, std::optional<int> batterySinksAt,
                 std::span<const Clip> clips = {})
{
    const TestSetup &setup = builder.setup();
    ChannelSignals inputs;
    inputs.setSeed(ChannelSignals::seedFor(builder.identity().serialNumber.toLatin1()));
    const int wakeUps = setup.waitSeconds > 255 ? 2 : 1;
    bool eventSeen = false;
    for (int scan = -wakeUps; scan < counted; ++scan) {
        if (batterySinksAt && scan == *batterySinksAt)
            inputs.ramp(4, inputs.count(4, inputs.lastSample()), -1);
        applyClips(inputs, clips, scan);
        const ChannelSignals::Sample sample
            = inputs.nextSample(builder.scanTime(scan).toMSecsSinceEpoch());
        QList<int> counts;
        for (int channel = 1; channel <= setup.activeChannels; ++channel)
            counts.append(inputs.count(channel, sample));
        std::optional<std::pair<int, int>> monitor;
        if (setup.monitorChannel > 0)
            monitor = std::pair(inputs.maximum(setup.monitorChannel, sample),
                                inputs.minimum(setup.monitorChannel, sample));
        if (batterySinksAt && !eventSeen && counts.size() >= 4
            && counts[3] < builder.batteryTripCount()) {
            builder.statusEvent(PresetBuilder::StatusBatteryLow);
            eventSeen = true;
        }
        if (!builder.recordScan(counts, monitor, scan >= 0))
            return;
    }
}

TestSetup finishedSetup(const QDateTime &now)
{
    TestSetup setup;
    setup.periodSeconds = 60;
    setup.waitSeconds = 120;
    setup.scans = 3000;
    setup.activeChannels = 4;
    setup.monitorChannel = 1;
    setup.calInterval = 0; // no calibration scans: the memory holds none
    setup.description = "Pump station 7: line pressure, pipe temperature, humidity, battery";
    setup.initializedBy = "TECH01";
    setup.batteryInits = 3;
    setup.totalInits = 17;
    // Ended two days ago.
    setup.initTime = now.addDays(-2).addSecs(-qint64(setup.scans) * setup.periodSeconds
                                             - setup.waitSeconds);
    return setup;
}

void buildFinished(PresetBuilder &builder, const LoggerIdentity &id, const TestSetup &setup)
{
    calibrateFieldChannels(builder, id, 4, setup.initTime.date().addYears(1));
    builder.initializeTest(setup);
    recordScans(builder, setup.scans, setup.scans - 900, FinishedClips);
    builder.finishTest();
}

void markDownloaded(PresetBuilder &builder, const LoggerIdentity &id, const QDateTime &when)
{
    builder.markDownloaded(when, id.serialNumber + "-" + when.toString("yyyyMMdd-hhmmss") + " .CSV");
}

LoggerImage fresh(const QDateTime &now)
{
    PresetBuilder builder(identity("T410-8MC", "00041001", "Z823", 8, 4, 4), now.addDays(-30));
    builder.setNotes("Factory fresh logger.\nNo test has been run.");
    return builder.image();
}

LoggerImage finished(const QDateTime &now)
{
    const LoggerIdentity id = identity("T410-8MC", "00041002", "Z823", 8, 1, 3);
    PresetBuilder builder(id, now.addDays(-400));
    buildFinished(builder, id, finishedSetup(now));
    builder.setNotes("Pump station 7 survey.\nBattery replaced before this test.");
    return builder.image();
}

LoggerImage downloaded(const QDateTime &now)
{
    const LoggerIdentity id = identity("T410-8MC", "00041004", "Z823", 8, 1, 3);
    PresetBuilder builder(id, now.addDays(-500));
    buildFinished(builder, id, finishedSetup(now));
    markDownloaded(builder, id, now.addDays(-1));
    builder.setNotes("Pump station 7 survey.\nDownloaded at the station.");
    return builder.image();
}

LoggerImage oldHeader(const QDateTime &now)
{
    const LoggerIdentity id = identity("T410-8MC", "00041005", "Z823", 8, 1, 3);
    PresetBuilder builder(id, now.addDays(-700));
    TestSetup setup = finishedSetup(now);
    setup.headerVersion = "0751";
    buildFinished(builder, id, setup);
    markDownloaded(builder, id, now.addDays(-1));
    builder.setNotes("Initialized by an earlier release\nof the program (header 0751).");
    return builder.image();
}

LoggerImage logging(const QDateTime &now)
{
    const LoggerIdentity id = identity("T410-4UA", "00041003", "Z823", 4, 1, 4);
    PresetBuilder builder(id, now.addDays(-200));
    TestSetup setup;
    setup.periodSeconds = 10;
    setup.waitSeconds = 60;
    setup.scans = 8640;
    setup.activeChannels = 3;
    setup.calInterval = 24;
    setup.description = "Boiler room, one day at 10 s";
    setup.initializedBy = "TECH02";
    setup.batteryInits = 1;
    setup.totalInits = 4;
    // Initialized an hour ago: the first scan was at the end of the wait.
    setup.initTime = now.addSecs(-3600 - setup.waitSeconds);
    calibrateFieldChannels(builder, id, 3, now.date().addYears(1));
    builder.initializeTest(setup);
    const qint64 running = builder.startTime().secsTo(now);
    recordScans(builder, running < 0 ? 0 : int(running / setup.periodSeconds) + 1, std::nullopt);
    builder.setNotes("Boiler room survey, still running.");
    builder.stampClock(now);
    return builder.image();
}

LoggerImage older(const QDateTime &now)
{
    LoggerIdentity id = identity("T310-4UA", "00030117", "Z341", 4, 1, 1);
    id.headerVersion = "0630";
    PresetBuilder builder(id, now.addYears(-8));
    calibrateFieldChannels(builder, id, 2, now.date().addDays(-400));
    builder.setNotes("Z3 series logger.");
    return builder.image();
}

LoggerImage ph(const QDateTime &now)
{
    const LoggerIdentity id = identity("T410-4PH", "00052201", "Z522", 4, 1, 2);
    PresetBuilder builder(id, now.addDays(-90));
    const QDate due = now.date().addMonths(6);
    builder.calibrate(1, calibration(PhSensor, id.modelVersion, due));
    builder.calibrate(2, calibration(FieldSensors[1], id.modelVersion, due));
    builder.setNotes("Remote display and alarm on channel 1 (pH).");
    return builder.image();
}

} // namespace

QStringList LoggerPresets::names()
{
    return {"fresh", "finished", "logging", "downloaded", "older", "ph", "oldheader"};
}

QString LoggerPresets::name(LoggerPreset preset)
{
    return names().value(int(preset));
}

std::optional<LoggerPreset> LoggerPresets::fromName(const QString &name)
{
    const qsizetype index = names().indexOf(name.trimmed().toLower());
    if (index < 0)
        return std::nullopt;
    return LoggerPreset(index);
}

LoggerImage LoggerPresets::build(LoggerPreset preset, const QDateTime &now)
{
    LoggerImage image = buildAt(preset, now);
    image.clock = now;
    return image;
}

void LoggerPresets::setFirmwareVersion(LoggerImage &image, const QByteArray &version)
{
    // Line 0210 starts with the header version, then the firmware version.
    constexpr int FirmwareField = 0x0214;
    image.header.replace(FirmwareField, 4, version.leftJustified(4, ' ', true));
}

void LoggerPresets::setDataMemory(LoggerImage &image, int chips, int typeCode)
{
    // 0210: header version, firmware version, then the memory size in bytes
    // as six hexadecimal digits; 02C0 starts with the chip count and type.
    constexpr int MemoryField = 0x0218;
    constexpr int ChipsField = 0x02C0;
    const qint64 bytes = chips * PresetBuilder::chipBytes(typeCode);
    image.header.replace(MemoryField, 6, QByteArray::number(bytes, 16).toUpper().rightJustified(6, '0'));
    image.header.replace(ChipsField, 2, QByteArray::number(chips % 10) + QByteArray::number(typeCode % 10));
    const QByteArray kept = image.data.left(bytes);
    image.data = kept + QByteArray(bytes - kept.size(), '\xFF');
}

LoggerImage LoggerPresets::buildAt(LoggerPreset preset, const QDateTime &now)
{
    switch (preset) {
    case LoggerPreset::Fresh:
        return fresh(now);
    case LoggerPreset::Finished:
        return finished(now);
    case LoggerPreset::Logging:
        return logging(now);
    case LoggerPreset::Downloaded:
        return downloaded(now);
    case LoggerPreset::Older:
        return older(now);
    case LoggerPreset::Ph:
        return ph(now);
    case LoggerPreset::OldHeader:
        return oldHeader(now);
    }
    return fresh(now);
}
