#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

struct CalBoxes;
struct ChannelCalRecord;

// One channel's calibration as it is about to be written: the sixteen text
// lines x00-xF0 of the channel's block in header memory. The calibration
// window writes its boxes (with the slope and offset also as hexadecimal
// floating point for the firmware's own use), the Cal Data tab writes the
// records of all channels, and the factory reset its fixed lines.
struct ChannelBlock
{
    static constexpr int Lines = 16;
    static constexpr int FirstPage = 0x06;

    enum class Source { Window, Record };

    QString modelNumber;
    QString serialNumber;
    QString engUnits;
    QString location;
    QString excitationUnits;
    // "yyyy/mm/dd"; an empty due date must be filled before the lines are made.
    QString calDue;
    double slope = 0.0;
    double offset = 0.0;
    double scExcitation = 0.0;
    double scOffset = 0.0;
    double scGain = 0.0;
    double milliAt0 = 0.0;
    double euAt0 = 0.0;
    double fsEuAt0 = 0.0;
    double milliAt100 = 0.0;
    double euAt100 = 0.0;
    double fsEuAt100 = 0.0;
    double excitation = 0.0;
    double scOutputAt0 = 0.0;
    double scOutputAt100 = 0.0;
    int calType = 0;
    // The output boxes' texts; the window's write puts their first four
    // characters after the numbers on lines xE0 and xF0.
    QString scOutputAt0Text;
    QString scOutputAt100Text;
    Source source = Source::Window;

    // The values of the window's boxes.
    static ChannelBlock fromBoxes(const CalBoxes &boxes);
    // The values of a record's texts.
    static ChannelBlock fromRecord(const ChannelCalRecord &record);

    // The sixteen lines; nothing when a value cannot be written: a number
    // beyond the 32-bit float range or not finite, or a due date that is not
    // a date the day-number field holds.
    std::optional<QStringList> lines() const;
    // The record as the logger now holds it: texts at their widths, every
    // number's text and value as written.
    void applyTo(ChannelCalRecord &record) const;

    // The factory default block of channel 1-12.
    static QStringList factoryDefaults(int channel, bool millivolts);
    // The factory reset's numbers in the record.
    static void applyFactoryValues(ChannelCalRecord &record);

    // Header address of line 0-15 of channel index 0-7: 0600 ... 0DF0.
    static int address(int channelIndex, int line) { return (FirstPage + channelIndex) * 0x100 + line * 0x10; }
    // The progress shown after a line: 1 after x10, 2 after x30 ... 7 after xF0.
    static std::optional<int> progressAfter(int line);
};
