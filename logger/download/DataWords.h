#pragma once

#include <QString>
#include <array>
#include <optional>

// One 16-bit word of the logger's data memory: the tag in its top
// hexadecimal digit and the A/D count in the three below.
struct DataWord
{
    int tag = 0;
    int count = 0;
};

// What a word means in a test of a given shape.
struct WordMeaning
{
    enum Kind { Channel, Status, Invalid };
    Kind kind = Invalid;
    // 0-9 for a channel word (see DownloadColumns).
    int column = -1;
};

namespace DataWords {

constexpr int PerLine = 8;
constexpr int StatusTag = 15;
constexpr int HighClip = 4095;

// The eight words of a data-memory reply line (the echoed letter, six
// address digits, "#", 32 hexadecimal digits from the ninth character on).
// A word whose digits are not hexadecimal comes back with tag -1.
std::optional<std::array<DataWord, PerLine>> fromReplyLine(const QString &reply);

// Tag t < N is channel t + 1's reading, tag N the monitor maximum and N + 1
// the monitor minimum (only with a monitor channel), tag 15 a status word;
// any other tag is invalid.
WordMeaning meaning(int tag, int activeChannels, bool monitor);

} // namespace DataWords
