#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

// What the simulated logger's converter reads: a deterministic waveform per
// channel (a slow sine around a per-channel level plus seeded noise), which a
// test can replace per channel by a fixed count or a ramp (a battery channel
// sinking below its threshold). Also the logger's own supply measurements
// that the "R" line reports and the logging engine compares with the trip
// levels of line 0050.
//
// A measurement is numbered: every scan and every real-time reading takes
// the next sample, so the same numbers appear in data memory, in "l" lines
// and in "r" lines. Within a sample the converter takes SubSamples readings
// of a channel; the last one is the channel's reading, all of them feed the
// monitor channel's maximum and minimum.
class ChannelSignals
{
public:
    static constexpr int Channels = 8;
    static constexpr int SubSamples = 8;
    static constexpr int MaxCount = 4095;

    void setSeed(quint32 seed) { m_seed = seed; }
    quint32 seed() const { return m_seed; }

    // Channel 1-8 reads `count` from now on.
    void force(int channel, int count);
    // Channel 1-8 reads `start` at the next sample and changes by `perSample`
    // counts every sample after it, limited to 0-4095.
    void ramp(int channel, int start, int perSample);
    // Back to the waveform.
    void release(int channel);

    // Starts the next measurement and returns its number.
    quint64 nextSample() { return m_sample++; }
    quint64 samplesTaken() const { return m_sample; }

    // Count of channel 1-8 at sample n, reading `sub` (0 .. SubSamples-1;
    // the last is the channel's reading).
    int count(int channel, quint64 sample, int sub = SubSamples - 1) const;
    int maximum(int channel, quint64 sample) const;
    int minimum(int channel, quint64 sample) const;

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
    int waveform(int channel, quint64 sample, int sub) const;

    quint32 m_seed = 1;
    quint64 m_sample = 0;
    std::array<std::optional<Override>, Channels> m_override;
    // A fresh 9 V battery and a 12 V supply against the usual references.
    int m_battery = 1500;
    int m_supply = 2050;
    int m_temperature = 1850;
};
