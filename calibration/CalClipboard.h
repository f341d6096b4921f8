#pragma once

#include "calibration/CalFields.h"

#include <QDate>

class Dialogs;
class SettingsStore;

// "Save To Clipboard" and "Recall From Clipboard": one channel's window
// values kept in the settings store, so a calibration entered for one
// channel or logger can be brought into another.
class CalClipboard
{
public:
    static const QString Section;

    CalClipboard(SettingsStore &store, Dialogs &dialogs);

    // Stores every box (an empty due date first becomes two days ahead) and
    // says "Settings Saved"; a store that cannot be written says why.
    void save(CalBoxes &boxes, const QDate &today);
    // Every box but the channel number, from the store; absent keys empty.
    void recall(CalBoxes &boxes) const;

private:
    SettingsStore &m_store;
    Dialogs &m_dialogs;
};
