#pragma once

#include <QtGlobal>
#include <random>

// The soak's one source of chance: every choice of an operation comes from
// a generator seeded with the round's seed and the operation's index, so
// one operation replays alone exactly as it ran in its round.
class SoakRandom
{
public:
    SoakRandom(quint64 seed, qint64 operation);

    // An integer from `low` to `high`, both included.
    qint64 between(qint64 low, qint64 high);
    // True with the given probability (0 to 1).
    bool chance(double probability);
    template <typename T, std::size_t N>
    const T &pick(const T (&items)[N])
    {
        return items[std::size_t(between(0, qint64(N) - 1))];
    }

private:
    std::mt19937_64 m_engine;
};
