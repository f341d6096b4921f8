#pragma once

#include <QtGlobal>
#include <span>

struct LoggerHeader;

// The memory fields of line 02C0 index the factory page's two lists: the chip
// counts 1-8 and the chip types by size in kilobits. The lists live here so
// that the factory page and the header read agree on them.
class MemoryChips
{
public:
    // Chip-count list entries are 1..MaxChips (entry = count - 1).
    static constexpr int MaxChips = 8;

    // Memory-type list, entry = the code the logger stores.
    static std::span<const int> typeKilobits();

    // memoryTypeCode and chip size in bytes of a chip of that many kilobits;
    // a size the firmware does not know is treated as code 3 with 64 KiB.
    static qint16 typeCode(int kilobits);
    static quint32 chipBytes(int kilobits);

    // Fills memoryChips, memoryTypeCode, chipBytes, memoryInstalled and
    // memoryInstalledHex from the two values read from 02C0. A chip value
    // outside the list selects no entry (no chips); a type value outside it
    // selects entry 0.
    static void subCalcMemSize(LoggerHeader &header, int chipValue, int typeValue,
                               std::span<const int> typeList = typeKilobits());
};
