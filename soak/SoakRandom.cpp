#include "soak/SoakRandom.h"

SoakRandom::SoakRandom(quint64 seed, qint64 operation)
{
    std::seed_seq sequence{quint32(seed), quint32(seed >> 32), quint32(operation), quint32(quint64(operation) >> 32)};
    m_engine.seed(sequence);
}

qint64 SoakRandom::between(qint64 low, qint64 high)
{
    if (high <= low)
        return low;
    return std::uniform_int_distribution<qint64>(low, high)(m_engine);
}

bool SoakRandom::chance(double probability)
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine) < probability;
}
