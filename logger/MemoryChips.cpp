#include "logger/MemoryChips.h"

#include "logger/FunctionsSubs.h"
#include "logger/LoggerHeader.h"

#include <array>

namespace {

struct ChipSize
{
    int kilobits;
    qint16 code;
    quint32 bytes;
};

constexpr std::array ChipSizes = {
    ChipSize{128, 0, 16384},   ChipSize{256, 1, 32768},    ChipSize{512, 2, 65536},
    ChipSize{1024, 3, 131072}, ChipSize{2048, 4, 262144}, ChipSize{4096, 5, 524288},
};
constexpr ChipSize UnknownSize{0, 3, 65536};

constexpr std::array TypeList = {128, 256, 512, 1024, 2048, 4096};

const ChipSize &chipSize(int kilobits)
{
    for (const ChipSize &size : ChipSizes) {
        if (size.kilobits == kilobits)
            return size;
    }
    return UnknownSize;
}

} // namespace

std::span<const int> MemoryChips::typeKilobits()
{
    return TypeList;
}

qint16 MemoryChips::typeCode(int kilobits)
{
    return chipSize(kilobits).code;
}

quint32 MemoryChips::chipBytes(int kilobits)
{
    return chipSize(kilobits).bytes;
}

void MemoryChips::subCalcMemSize(LoggerHeader &header, int chipValue, int typeValue,
                                 std::span<const int> typeList)
{
    header.memoryChips = qint16(chipValue >= 1 && chipValue <= MaxChips ? chipValue : 0);
    const bool listed = typeValue >= 0 && typeValue < int(typeList.size());
    const int kilobits = typeList.empty() ? 0 : typeList[listed ? typeValue : 0];
    header.memoryTypeCode = typeCode(kilobits);
    header.chipBytes = chipBytes(kilobits);
    header.memoryInstalled = quint32(header.memoryChips) * header.chipBytes;
    header.memoryInstalledHex = fnHex6(qint32(header.memoryInstalled));
}
