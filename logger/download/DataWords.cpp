#include "logger/download/DataWords.h"

#include "logger/download/DownloadColumns.h"

namespace DataWords {

namespace {
constexpr int FirstDigit = 8; // zero-based position of the first data digit

// Only the digits 0-9, A-F and a-f: a sign or blank, which the number
// conversion would accept, must not turn line noise into a reading.
int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    return -1;
}
} // namespace

std::optional<std::array<DataWord, PerLine>> fromReplyLine(const QString &reply)
{
    if (reply.size() < FirstDigit + 4 * PerLine)
        return std::nullopt;
    std::array<DataWord, PerLine> words{};
    for (int i = 0; i < PerLine; ++i) {
        int value = 0;
        for (int d = 0; d < 4 && value >= 0; ++d) {
            const int digit = hexDigit(reply.at(FirstDigit + 4 * i + d));
            value = digit < 0 ? -1 : value * 16 + digit;
        }
        words[i] = value >= 0 ? DataWord{value >> 12, value & 0xFFF} : DataWord{-1, 0};
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
