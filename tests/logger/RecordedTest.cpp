#include "tests/logger/RecordedTest.h"

#include "sim/PresetBuilder.h"

RecordedTest RecordedTest::ramp(int channels, int monitor, int counted, int waitSeconds)
{
    RecordedTest test;
    test.periodSeconds = 60;
    test.waitSeconds = waitSeconds;
    test.counted = counted;
    test.channels = channels;
    test.monitor = monitor;
    test.description = "Ramp test";
    test.initializedBy = "BENCH";
    test.initTime = QDateTime(QDate(2026, 3, 2), QTime(8, 0));
    for (int c = 1; c <= channels; ++c) {
        ChannelCalibration cal;
        cal.modelNumber = QStringLiteral("MOD%1").arg(c).leftJustified(8);
        cal.serialNumber = QStringLiteral("SN%1").arg(c).leftJustified(8);
        cal.engUnits = "psi ";
        cal.location = QStringLiteral("L%1").arg(c).leftJustified(4);
        cal.excitationUnits = " mV ";
        cal.calDue = QDate(2027, 1, 1);
        cal.slope = 0.5f * float(c);
        cal.offset = -10.0f * float(c);
        test.calibration << cal;
    }
    const int total = counted + test.wakeUps();
    for (int s = 0; s < total; ++s) {
        Scan scan;
        for (int c = 1; c <= channels; ++c)
            scan.counts << 100 + (s * 7 + c * 300) % 3900;
        if (monitor)
            scan.monitor = std::pair(scan.counts[monitor - 1] + 5, scan.counts[monitor - 1] - 5);
        test.scans << scan;
    }
    return test;
}

LoggerImage RecordedTest::image() const
{
    LoggerIdentity id;
    id.modelVersion = "ZL-8MC  ";
    id.serialNumber = "BENCH001";
    id.firmwareVersion = "Z540";
    id.memoryChips = memoryChips;
    id.memoryTypeCode = memoryTypeCode;
    id.engineId = "ENG-Z8A";
    id.sigConId = "SC-MC8";
    id.engineSn = "E0000001";
    id.sigConSn = "S0000001";
    id.controllerId = "PIC18F8X";
    PresetBuilder builder(id, QDateTime(QDate(2025, 6, 1), QTime(9, 0)));
    for (int c = 0; c < calibration.size(); ++c)
        builder.calibrate(c + 1, calibration[c]);
    TestSetup setup;
    setup.periodSeconds = periodSeconds;
    setup.waitSeconds = waitSeconds;
    setup.scans = counted;
    setup.activeChannels = channels;
    setup.monitorChannel = monitor;
    setup.description = description;
    setup.initializedBy = initializedBy;
    setup.initTime = initTime;
    builder.initializeTest(setup);
    for (int s = 0; s < scans.size(); ++s) {
        if (scans[s].eventBefore)
            builder.statusEvent(scans[s].eventBefore);
        if (!builder.recordScan(scans[s].counts, scans[s].monitor, s >= wakeUps()))
            break;
    }
    if (finished)
        builder.finishTest();
    return builder.image();
}

