#include "sim/ChannelSignals.h"

#include <QByteArray>

#include <cmath>
#include <numbers>

namespace {
quint64 mix(quint64 x)
{
    // splitmix64: cheap, well spread, the same everywhere.
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

int clampCount(qint64 count)
{
    return int(qBound<qint64>(0, count, qint64(ChannelSignals::MaxCount)));
}
} // namespace

void ChannelSignals::force(int channel, int count)
{
    ramp(channel, count, 0);
}

void ChannelSignals::ramp(int channel, int start, int perSample)
{
    if (channel >= 1 && channel <= Channels)
        m_override[channel - 1] = Override{start, perSample, m_sample};
}

void ChannelSignals::release(int channel)
{
    if (channel >= 1 && channel <= Channels)
        m_override[channel - 1].reset();
}

quint32 ChannelSignals::seedFor(const QByteArray &serialNumber)
{
    quint64 h = 0;
    for (char c : serialNumber)
        h = mix(h ^ quint8(c));
    return quint32(h);
}

ChannelSignals::Sample ChannelSignals::nextSample(qint64 timeMs)
{
    m_last = Sample{m_sample++, timeMs};
    return m_last;
}

int ChannelSignals::waveform(int channel, qint64 timeMs) const
{
    // Each channel swings slowly around its own level, clear of both clips,
    // over hours and over minutes, with a little noise, so scans differ, a
    // test's readings form smooth curves and columns are told apart.
    const double seconds = double(timeMs) / 1000.0;
    const quint64 h = mix((quint64(m_seed) << 8) ^ quint64(channel));
    const double phase = double(h % 6283) / 1000.0;
    const double slowCycle = 3.0 * 3600 + double(channel) * 1337.0;
    const double fastCycle = 1200.0 + double(channel) * 97.0;
    const int level = 350 + 400 * (channel - 1);
    const double swing = 150.0 * std::sin(2.0 * std::numbers::pi * seconds / slowCycle + phase)
                         + 30.0 * std::sin(2.0 * std::numbers::pi * seconds / fastCycle + 2 * phase);
    const int noise = int(mix(h ^ (quint64(timeMs) * 0x100000001B3ULL)) % 9) - 4;
    return clampCount(qint64(level + std::lround(swing) + noise));
}

int ChannelSignals::count(int channel, const Sample &sample, int sub) const
{
    if (channel < 1 || channel > Channels)
        return 0;
    const std::optional<Override> &o = m_override[channel - 1];
    if (!o)
        return waveform(channel, sample.timeMs - qint64(SubSamples - 1 - sub) * SubSampleMs);
    const qint64 steps = sample.number >= o->from ? qint64(sample.number - o->from) : 0;
    return clampCount(qint64(o->start) + steps * o->perSample);
}

int ChannelSignals::maximum(int channel, const Sample &sample) const
{
    int best = 0;
    for (int sub = 0; sub < SubSamples; ++sub)
        best = qMax(best, count(channel, sample, sub));
    return best;
}

int ChannelSignals::minimum(int channel, const Sample &sample) const
{
    int best = MaxCount;
    for (int sub = 0; sub < SubSamples; ++sub)
        best = qMin(best, count(channel, sample, sub));
    return best;
}
