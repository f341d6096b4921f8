#pragma once

#include <QString>
#include <optional>
#include <vector>

// One real-time line from the logger: "r" answers the real-time command, "l"
// reports a scan a logging test has just taken (dump output on). After the
// letter each channel k takes six characters "k:CCC,", so its three-digit
// hexadecimal count starts at character 6(k-1)+4 (counting from 1).
class RealTimeLine
{
public:
    static constexpr int CharsPerChannel = 6;
    static constexpr int MinimumCount = 0;
    static constexpr int MaximumCount = 4095;

    // A line led by "r" or "l" that is long enough for `highestChannel`
    // channels (6 x channels + 4 characters). Other lines are not ours.
    static bool isReadingLine(const QString &line, int highestChannel);

    // The counts of channels 1..rows, as far as the line holds them: a
    // channel whose three characters are missing or not all hexadecimal
    // digits has no reading. Fields beyond `rows` are not read.
    static std::vector<std::optional<int>> counts(const QString &line, int rows);
};
