#pragma once

#include <QString>
#include <array>
#include <span>

struct CalValue;
struct ChannelCalRecord;

// The 24 numbered fields of one channel's calibration, as the calibration
// window shows them, the calibration files label them and the settings store
// keeps them. Field 1 is the channel number and field 15 the logger's own
// serial number; neither is part of a channel record.
class CalFields
{
public:
    static constexpr int Count = 24;
    static constexpr int ChannelNumber = 1;
    static constexpr int CalDue = 2;
    static constexpr int ExcitationUnits = 3;
    static constexpr int LoggerSerial = 15;
    static constexpr int LoggerSlope = 19;
    static constexpr int LoggerOffset = 20;
    static constexpr int ScOutputAt0 = 21;
    static constexpr int ScOutputAt100 = 22;
    static constexpr int Sensitivity = 23;
    static constexpr int CalType = 24;

    struct Field
    {
        int number;
        // 21 characters, as the files write it.
        const char *label;
        // The window's box and its caption.
        const char *box;
        const char *caption;
        // The settings store key.
        const char *key;
        // Fixed width of the record text; 0 for texts of any length.
        int width;
    };

    static std::span<const Field> all();
    // Field 1-24.
    static const Field &field(int number);
    static QString label(int number);
    // The number of the field with exactly this label, or 0.
    static int numberOfLabel(const QString &label);

    // The text files and reports name the calibration type by these texts.
    static QString calTypeText(bool twoPoint);
    static bool twoPointFromText(const QString &text) { return text == calTypeText(true); }

    // The record's text of fields 2-14 and 16-23 (numbers as their 12
    // characters, fixed-width texts with their blanks); empty for the others.
    static QString recordText(const ChannelCalRecord &record, int number);
    // Puts text into the record's field, padded or cut to the field's width.
    // Numeric fields keep their value until the channel is written.
    static void setRecordText(ChannelCalRecord &record, int number, const QString &text);
    // The numeric quantity of a field, or nullptr for text fields.
    static CalValue *quantity(ChannelCalRecord &record, int number);
    static const CalValue *quantity(const ChannelCalRecord &record, int number);

    // t padded with blanks to n characters, or cut to its first n.
    static QString pad(const QString &text, int width);
};

// The texts of the calibration window's boxes by field number (1-23) and its
// check box (field 24): what the window shows, saves and recalls.
struct CalBoxes
{
    std::array<QString, CalFields::Count> text{};
    bool twoPoint = false;

    QString &operator[](int number) { return text.at(number - 1); }
    const QString &operator[](int number) const { return text.at(number - 1); }
};
