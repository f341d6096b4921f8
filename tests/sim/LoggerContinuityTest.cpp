#include "logger/FunctionsSubs.h"
#include "sim/ChannelSignals.h"
#include "sim/LiveBlock.h"
#include "sim/LoggerImage.h"
#include "sim/LoggerPresets.h"
#include "sim/LoggerSimulator.h"
#include "sim/VirtualEventLoop.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

// A simulated logger kept in its image file goes on as if it had kept
// logging while nothing ran it: loaded again later, it holds the scans that
// fell due meanwhile, read at the times they were due, and runs on in the
// same rhythm.

namespace {

const QDateTime T0(QDate(2011, 9, 23), QTime(10, 0, 0));
constexpr qint64 Day = 24 * 3600;

LiveBlock::Setup active(const LoggerImage &image)
{
    return LiveBlock::setup(image.header, LiveBlock::ActiveLine);
}

// The logging preset (period 10 s, three channels, no monitor), optionally
// with more scans to take than its memory holds.
LoggerImage loggingPreset(bool moreScansThanMemory)
{
    LoggerImage image = LoggerPresets::build(LoggerPreset::Logging, T0);
    if (moreScansThanMemory) {
        LiveBlock::Setup setup = active(image);
        setup.scans = 0xFFFFFF;
        LiveBlock::setSetup(image.header, LiveBlock::ActiveLine, setup);
    }
    return image;
}

// Counts per scan of a test of `channels` channels without a monitor.
QList<QList<int>> scans(const LoggerImage &image)
{
    const int channels = int(active(image).channels);
    QList<QList<int>> result;
    for (quint32 at = 0; at + 2 * channels <= active(image).pointer; at += 2 * channels) {
        QList<int> counts;
        for (int c = 0; c < channels; ++c)
            counts.append(((quint8(image.data[at + 2 * c]) << 8) | quint8(image.data[at + 2 * c + 1])) & 0xFFF);
        result.append(counts);
    }
    return result;
}

TEST(LoggerContinuity, AReloadedTestHoldsWhatItWouldHaveLoggedRunningAllAlong)
{
    const struct
    {
        const char *name;
        bool moreScansThanMemory;
        qint64 awaySeconds;
        quint8 status; // after the catch-up
    } cases[] = {
        {"two hours away", false, 2 * 3600, 0x90},
        {"away past the test's end", false, 2 * Day, 0xC0},
        {"away until memory is full", true, 6 * Day, 0xA0},
    };
    constexpr qint64 SavedAfter = 600;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const LoggerImage preset = loggingPreset(c.moreScansThanMemory);

        // The logger running all along.
        VirtualEventLoop allAlongLoop(T0);
        LoggerSimulator allAlong(allAlongLoop, preset);
        allAlongLoop.advanceSeconds(double(SavedAfter + c.awaySeconds));

        // The same logger saved after ten minutes and loaded again later.
        QTemporaryDir dir;
        const QString file = dir.filePath("logger.img");
        {
            VirtualEventLoop firstLoop(T0);
            LoggerSimulator first(firstLoop, preset);
            firstLoop.advanceSeconds(SavedAfter);
            ASSERT_TRUE(first.imageToKeep().save(file, nullptr));
        }
        const std::optional<LoggerImage> saved = LoggerImage::load(file, nullptr);
        ASSERT_TRUE(saved);
        VirtualEventLoop laterLoop(T0.addSecs(SavedAfter + c.awaySeconds));
        LoggerSimulator later(laterLoop);
        QByteArray sent;
        later.setOutputHandler([&sent](const QByteArray &bytes, int) { sent += bytes; });
        const quint32 pointerBefore = active(*saved).pointer;
        const int caughtUp = later.loadImage(*saved);

        EXPECT_EQ(later.statusByte(), c.status);
        EXPECT_EQ(later.statusByte(), allAlong.statusByte());
        EXPECT_EQ(active(later.image()).scans, active(allAlong.image()).scans);
        EXPECT_EQ(active(later.image()).pointer, active(allAlong.image()).pointer);
        EXPECT_EQ(caughtUp, int(active(later.image()).pointer - pointerBefore) / 6);
        EXPECT_GT(caughtUp, 600);
        EXPECT_TRUE(later.image().data == allAlong.image().data) << "the same readings, scan for scan";
        EXPECT_TRUE(sent.isEmpty()) << "no dump lines for scans taken while nobody listened";

        // And it runs on in the same rhythm.
        allAlongLoop.advanceSeconds(95);
        laterLoop.advanceSeconds(95);
        EXPECT_EQ(active(later.image()).pointer, active(allAlong.image()).pointer);
        EXPECT_TRUE(later.image().data == allAlong.image().data);
    }
}

TEST(LoggerContinuity, EveryScanReadsTheSignalsAtItsTimeFromTheStartDate)
{
    const LoggerImage preset = loggingPreset(false);
    const QDateTime start = fnSerialTextToDate(QString::fromLatin1(preset.header.mid(0x0430, 12)));
    const qint64 period = active(preset).period;
    const int presetScans = int(scans(preset).size());

    // Closed for an hour, then running live for ten minutes.
    VirtualEventLoop loop(T0.addSecs(3600));
    LoggerSimulator logger(loop);
    logger.loadImage(preset);
    loop.advanceSeconds(600);
    const QList<QList<int>> taken = scans(logger.image());
    ASSERT_GT(taken.size(), presetScans + 400);

    ChannelSignals signals;
    signals.setSeed(ChannelSignals::seedFor(preset.header.mid(0x0208, 8)));
    // Scan k of the test (after the one at switch-on) is due at the start
    // plus k periods, whether the preset, the catch-up or the live engine took it.
    for (int k = 0; k + 1 < taken.size(); ++k) {
        const QDateTime due = start.addSecs(k * period);
        const ChannelSignals::Sample sample{0, due.toMSecsSinceEpoch()};
        for (int channel = 1; channel <= taken[k + 1].size(); ++channel) {
            ASSERT_EQ(taken[k + 1][channel - 1], signals.count(channel, sample))
                << "scan " << k << " channel " << channel;
            // No jump anywhere, least of all where the preset's history ends.
            ASSERT_LE(std::abs(taken[k + 1][channel - 1] - taken[k][channel - 1]), 25)
                << "scan " << k << " channel " << channel;
        }
    }
}

TEST(LoggerContinuity, ALoggerLoadedBeforeItsSavedClockKeepsItsTime)
{
    // A logger that ran fast (a time scale) saved a clock ahead of the PC's:
    // its clock does not run back, and no scan is taken twice.
    VirtualEventLoop loop(T0);
    LoggerSimulator fast(loop, loggingPreset(false));
    fast.setTimeScale(60);
    loop.advanceSeconds(60); // an hour of logger time
    const LoggerImage saved = fast.imageToKeep();
    EXPECT_EQ(saved.clock, T0.addSecs(3600));

    LoggerSimulator reloaded(loop);
    EXPECT_EQ(reloaded.loadImage(saved), 0);
    EXPECT_EQ(reloaded.clock().now(), T0.addSecs(3600));
    EXPECT_EQ(active(reloaded.image()).pointer, active(saved).pointer);
    ASSERT_TRUE(saved.schedule);
    EXPECT_EQ(reloaded.imageToKeep().schedule, saved.schedule);
}

} // namespace
