#pragma once

#include <QString>
#include <functional>

// What the Cal Data tab needs of the calibration window: its channel box
// and showing it modally over the main window (its activation loads the
// channel in the box). The main window fills these once the window exists.
struct CalWindowHooks
{
    std::function<void(const QString &channelText)> setChannelBox;
    std::function<void()> showModal;

    bool present() const { return bool(setChannelBox) && bool(showModal); }
};
