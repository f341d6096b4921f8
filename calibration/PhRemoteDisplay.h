#pragma once

#include <QString>
#include <array>
#include <optional>

struct ChannelCalRecord;

// The straight line a logger's remote display and alarm use to turn channel
// 1's converter counts into pH, from the counts read in the pH 4.01 and pH
// 7.00 buffers, and the digits that carry it in the last four characters of
// channel 1's lines 0640-0670. No widgets and no link: the window asks, this
// computes and checks.
class PhRemoteDisplay
{
public:
    static constexpr int HighestCount = 4095;
    static constexpr double Ph4 = 4.01;
    // pH 7.00 less pH 4.01: the rise of the line between the two counts.
    static constexpr double PhSpan = 2.99;

    // pH per count and pH at count 0.
    struct Line
    {
        float slope = 0.0f;
        float offset = 0.0f;
    };

    enum class Check { Ok, Ph4OutOfRange, Ph7OutOfRange, Reversed };

    struct Message
    {
        QString title;
        QString text;
    };

    // One of the four lines and the four digits that end it.
    struct LineDigits
    {
        int address;
        QString digits;
    };

    // The count a box holds: its numeric value rounded to the nearest
    // integer, halves to even; nothing when that does not fit 16 bits (such
    // a count is out of range, never wrapped into it). An empty box is 0.
    static std::optional<qint16> count(const QString &boxText);

    // The range and order checks, in the order they are made.
    static Check check(std::optional<qint16> ph4Count, std::optional<qint16> ph7Count);
    // The line through (A4, 4.01) and (A7, 7.00); only for counts that passed.
    static Line fromCounts(qint16 ph4Count, qint16 ph7Count);
    // A perfect sensor: the channel's own slope and offset.
    static Line fromRecord(const ChannelCalRecord &channel1);

    // Lines 0640, 0650 (slope) and 0660, 0670 (offset), each with the four
    // hexadecimal floating-point digits it ends with.
    static std::array<LineDigits, 4> lines(const Line &line);
    // The 16 characters written back: the first 12 data characters of the
    // line as read, then the digits.
    static QString lineText(const QString &readData, const QString &digits);

    // The box a check that failed brings (OK and Cancel; the command ends).
    static Message message(Check check);
    // The box when a count box is left empty (OK and Cancel; the command goes on).
    static Message emptyBoxMessage();
    // The box for a scan period below ScanWarningSeconds (OK only).
    static Message scanPeriodMessage();
    static constexpr int ScanWarningSeconds = 10;
    // The window's instruction text.
    static QString instructions();
};
