#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <optional>

// What the simulated logger's converter reads: a deterministic waveform per
// channel, a function of the logger's clock (slow swings around a
// per-channel level plus seeded noise), which a test can replace per channel
// by a fixed count or a ramp (a battery channel sinking below its
// threshold). Also the logger's own supply measurements that the "R" line
// reports and the logging engine compares with the trip levels of line 0050.
//
// Because the waveform depends on the time of a reading only, a test's scans
// read the same whether they were taken live, caught up after the logger was
// loaded from its image, or built into a preset: its history joins on.
//
// A measurement is numbered and stamped: every scan and every real-time
// reading takes the next sample at its time, so the same readings appear in
// data memory, in "l" lines and in "r" lines. Within a sample the converter
// takes SubSamples readings of a channel, SubSampleMs apart, the last at the
// sample's time; the last one is the channel's reading, all of them feed the
// monitor channel's maximum and minimum. Ramps count samples, not time.
class ChannelSignals
{
public:
    static constexpr int Channels = 8;
    static constexpr int SubSamples = 8;
    static constexpr int MaxCount = 4095;
    static constexpr qint64 SubSampleMs = 125;

    // One measurement: its number and the logger's clock when it was taken
    // (milliseconds since the epoch).
    struct Sample
    {
        quint64 number = 0;
        qint64 timeMs = 0;
    };

    // The waveform's seed for a logger, from its serial number, so that the
    // presets and the simulated logger read the same signals.
    static quint32 seedFor(const QByteArray &serialNumber);
    void setSeed(quint32 seed) { m_seed = seed; }
    quint32 seed() const { return m_seed; }

    // Channel 1-8 reads `count` from now on.
    void force(int channel, int count);
    // Channel 1-8 reads `start` at the next sample and changes by `perSample`
    // counts every sample after it, limited to 0-4095.
    void ramp(int channel, int start, int perSample);
    // Back to the waveform.
    void release(int channel);

    // Starts the next measurement, taken at `timeMs` on the logger's clock.
    Sample nextSample(qint64 timeMs);
    quint64 samplesTaken() const { return m_sample; }
    // The last measurement started (number 0 at time 0 before any).
    Sample lastSample() const { return m_last; }

    // Count of channel 1-8 in a sample, reading `sub` (0 .. SubSamples-1;
    // the last is the channel's reading).
    int count(int channel, const Sample &sample, int sub = SubSamples - 1) const;
    int maximum(int channel, const Sample &sample) const;
    int minimum(int channel, const Sample &sample) const;

    // The logger's battery and raw supply in A/D counts (the scale of the
    // trip levels in line 0050) and its processor temperature count.
    void setBattery(int counts) { m_battery = counts; }
    void setSupply(int counts) { m_supply = counts; }
    void setTemperature(int counts) { m_temperature = counts; }
    int battery() const { return m_battery; }
    int supply() const { return m_supply; }
    int temperature() const { return m_temperature; }

private:
    struct Override
    {
        int start = 0;
        int perSample = 0;
        quint64 from = 0;
    };
    int waveform(int channel, qint64 timeMs) const;

    quint32 m_seed = 1;
    quint64 m_sample = 0;
    Sample m_last;
    std::array<std::optional<Override>, Channels> m_override;
    // A fresh 9 V battery and a 12 V supply against the usual references.
    int m_battery = 1500;
    int m_supply = 2050;
    int m_temperature = 1850;
};
