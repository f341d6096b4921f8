#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

struct FactoryFields;
struct TestSetup;

// The header lines an initialization writes, composed from the test setup
// and the factory fields. Pure functions, so every line can be checked
// without a logger; the routines that write them are in LoggerInitializer.
class InitLines
{
public:
    static const QString HeaderVersion;   // "0762"
    // The only A/D resolution the identity line is written for.
    static constexpr int Resolution = 12;

    // 0200-0230 from the factory fields, or the reason they cannot be
    // composed (resolution not 12, installed channels not 1-8, firmware
    // version not 4 characters, memory size not 6 hexadecimal digits).
    struct Identity
    {
        QString line0200;
        QString line0210;
        QString line0220;
        QString line0230;
    };
    static Identity identity(const FactoryFields &fields, QString *problem);

    // The start pointer as six hexadecimal digits ("" counts as 000000);
    // nothing when the field holds anything else.
    static std::optional<QString> startPointer(const QString &field);

    // 0040: one byte per channel (64 when active; channel 1 adds 128 + the
    // monitor channel when one is selected), then sixteen 0.
    static QString channelConfig(const TestSetup &setup);
    // 0010 and 0020.
    static QString setupDigits(const TestSetup &setup, const QString &startPointer);
    // 0000 of a test initialization.
    static QString liveLine(int memoryTypeCode, int channels, const QString &startPointer);
    // "+08", "-05", "+00".
    static QString timeZoneText(int hours);
    // The description blank-padded or cut to 64, as 0450-0480.
    static QStringList descriptionLines(const QString &description);
    // 0440.
    static QString stopLine(const QDateTime &stop, int channels, int timeZoneHours);
    // 0410.
    static QString periodLine(const TestSetup &setup);

    // Text padded with blanks or cut to a width.
    static QString fit(const QString &text, int width);
};
