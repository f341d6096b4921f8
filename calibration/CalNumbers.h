#pragma once

#include <QDate>
#include <QString>
#include <optional>

// How the calibration window reads and prints numbers and dates.
class CalNumbers
{
public:
    // The value of a box: leading blanks skipped, the longest leading number
    // read (sign, digits, point, exponent); 0 when the text starts otherwise.
    static double value(const QString &text);
    // The whole text as a number (surrounding blanks allowed), or nothing.
    static std::optional<double> strictValue(const QString &text);

    // The value as a 32-bit float, or nothing when it lies beyond the float
    // range or is not finite: such a value is never written as a number.
    static std::optional<float> toFloat(double value);

    // The shortest plain decimal text with at most 7 (float) or 15 (double)
    // significant digits, in exponent form ("1.5E-07") for very small or very
    // large magnitudes.
    static QString generalText(float value);
    static QString generalText(double value);

    // The value with the picture "0.00000E+00": the hand-entry check compares
    // slopes and offsets at this precision.
    static QString scientificPicture(double value);

    // A due date typed as "yyyy/mm/dd" or "yyyy-mm-dd" (one-digit months and
    // days allowed), or nothing.
    static std::optional<QDate> dueDate(const QString &text);
    // The date two days after today, "yyyy/mm/dd": the due date that an empty
    // box or record receives.
    static QString defaultDueDate(const QDate &today);
    // The date as its day number (days since 30 December 1899) with the
    // picture "00000."; nothing for a date the six characters cannot hold.
    static std::optional<QString> dayNumberText(const QDate &date);
};
