#pragma once

#include "calibration/CalFields.h"

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <optional>

class Dialogs;
class LoggerConnection;

// Saving calibration sets to text files and bringing them back: the
// calibration window's channel, and every channel of the Cal Data tab. Files
// are written whole or not at all, so a failed save never leaves half a file.
class CalibrationFileCommands
{
public:
    struct Parts
    {
        LoggerConnection &connection;
        Dialogs &dialogs;
        std::function<QString()> dataFolder;
        // The calibration password gate: true when it is given, now or before.
        std::function<bool()> passwordOK;
        std::function<QDateTime()> now;
    };

    static const QString Filter;
    static const QString WrongTypeTitle;

    explicit CalibrationFileCommands(const Parts &parts);

    // The calibration window's buttons; true when the boxes were saved or filled.
    bool saveSingleChannel(CalBoxes &boxes);
    bool loadSingleChannel(CalBoxes &boxes);
    // The Cal Data tab: every installed channel with the operator's notes.
    bool saveAllChannels(const QString &notes);
    bool loadAllChannels();

private:
    QString askSaveName();
    QString askOpenName();
    bool write(const QString &path, const QByteArray &text);
    std::optional<QByteArray> read(const QString &path);
    void wrongType(const QString &path, const QString &type);
    QDate today() const { return m_p.now().date(); }

    Parts m_p;
};
