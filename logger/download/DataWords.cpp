#include "logger/download/DataWords.h"

#include "logger/download/DownloadColumns.h"

namespace DataWords {

namespace {
constexpr int FirstDigit = 8; // zero-based position of the first data digit
}

std::optional<std::array<DataWord, PerLine>> fromReplyLine(const QString &reply)
{
    if (reply.size() < FirstDigit + 4 * PerLine)
        return std::nullopt;
    std::array<DataWord, PerLine> words{};
    for (int i = 0; i < PerLine; ++i) {
        const QString digits = reply.mid(FirstDigit + 4 * i, 4);
        bool tagOk = false;
        bool countOk = false;
        const int tag = digits.left(1).toInt(&tagOk, 16);
        const int count = digits.mid(1).toInt(&countOk, 16);
        words[i] = tagOk && countOk ? DataWord{tag, count} : DataWord{-1, 0};
    }
    return words;
}

WordMeaning meaning(int tag, int activeChannels, bool monitor)
{
    if (tag == StatusTag)
        return {WordMeaning::Status, -1};
    if (tag >= 0 && tag < activeChannels)
        return {WordMeaning::Channel, tag};
    if (monitor && tag == activeChannels)
        return {WordMeaning::Channel, DownloadColumns::MonitorMax};
    if (monitor && tag == activeChannels + 1)
        return {WordMeaning::Channel, DownloadColumns::MonitorMin};
    return {WordMeaning::Invalid, -1};
}

} // namespace DataWords
