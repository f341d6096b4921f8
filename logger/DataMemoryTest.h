#pragma once

#include "logger/MemoryTestParts.h"

#include <QtGlobal>
#include <optional>
#include <random>

// subChkDataMem: from the top of the data memory down, three lines are
// written at each address with the data write ("f"): all 5, all A, then a
// digit that counts from address to address. The test reads nothing back
// itself; each write is verified by the transport's read-back, whose box
// reports a line that does not hold what was written. The quick test steps
// down by 128 bytes, the long one by a random multiple of 16 from 16 to 3840.
class DataMemoryTest
{
public:
    enum class Length { Quick, Long };

    static constexpr int QuickStep = 128;
    static constexpr int ShortTestAddress = 512;

    // The long test's steps come from a generator seeded with `seed`, or
    // from the clock when none is given.
    explicit DataMemoryTest(const MemoryTestParts &parts, std::optional<quint32> seed = std::nullopt);

    // Runs the whole test; true when every line was written and verified.
    bool subChkDataMem(Length length);
    // The short-test flag: after the address being written the test goes on
    // from address 512, so it ends after a few more lines.
    void requestShortTest() { m_shortTest = true; }
    bool shortTestRequested() const { return m_shortTest; }

private:
    bool ready();
    bool linkLost() const;
    // False when the link gave up; sets `failed` when a write did not verify.
    bool writeLine(qint64 address, int digit, bool &failed);
    qint64 nextAddress(qint64 address, Length length);
    void finish(bool aborted, bool failed);

    MemoryTestParts m_p;
    std::mt19937 m_random;
    std::uniform_int_distribution<int> m_steps{1, 240};
    bool m_shortTest = false;
};
