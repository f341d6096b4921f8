#pragma once

#include "calibration/CalFields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

struct LoggerHeader;

// The calibration text files: the one-channel file of the calibration window
// and the all-channel file of the Cal Data tab. Each line holds two items
// separated by a comma; a text item stands between double quotes, with a
// double quote inside it written twice, so any text round-trips; an integer
// item is plain digits. These are pure functions over text, so any file,
// however damaged, can be read without touching a disk or a logger.
class CalibrationFile
{
public:
    static const QString SingleChannelType;
    static const QString AllChannelType;
    // More than this is not a calibration file; the rest is not read.
    static constexpr int MaxLines = 10000;

    // The long date and time texts of the second (fourth) line.
    struct Stamp
    {
        QString date;
        QString time;
    };

    // The window's boxes as a single-channel file.
    static QByteArray singleChannelText(const CalBoxes &boxes, const Stamp &stamp);
    // Channels 1 to the installed count of the header as an all-channel file.
    // Empty due dates must have been filled in first.
    static QByteArray allChannelText(const LoggerHeader &header, const QString &path, const QString &model,
                                     const QString &notes, const Stamp &stamp);

    // What a single-channel file gives the window: boxes of fields 2-23 by
    // number, and the calibration type when the file names one. Nothing when
    // the file is not a single-channel file.
    struct SingleChannel
    {
        std::map<int, QString> boxes;
        std::optional<bool> twoPoint;
    };
    static std::optional<SingleChannel> readSingleChannel(const QByteArray &bytes);
    // Applies an all-channel file to the records of the header, block by
    // block; false, with nothing changed, when it is not an all-channel file.
    static bool readAllChannels(const QByteArray &bytes, LoggerHeader &header);

private:
    static bool isType(const QStringList &fileLines, const QString &type);
};
