#pragma once

#include "platform/Dialogs.h"
#include "platform/EventLoop.h"

#include <QString>
#include <functional>

// The factory page's debug check boxes, as the link reads them. The windows
// mirror their boxes into this struct; the link unticks "Halt on error" itself
// after its one box and tells the window through onHaltOnErrorUnticked.
struct DebugSwitches
{
    bool haltOnError = false; // chkHalt "Halt on error"
    bool monitor = false;     // chkDebugprintRxdTxd "MONITOR": receive and error traces
    bool debugPrint = false;  // chkDebug "Debug.Prt"
    bool debugBeep = false;   // chkDebugBeep "Debug.Bp"
    bool msbFix = false;      // chkMSBfix "Check for MSB Fix"
    // Stored only; nothing in the link reads them.
    bool enableBeep = false;  // chkEnableBeep
    bool subSend = false;     // chkSubSend
    bool autoPicInfo = false; // chkAutoPicInfo

    // Runs after the link has cleared haltOnError, so the window can untick chkHalt.
    std::function<void()> onHaltOnErrorUnticked;

    // Error paths beep only when both debug boxes are ticked.
    bool errorBeeps() const { return debugPrint && debugBeep; }
    void beepOnError(Dialogs &dialogs) const
    {
        if (errorBeeps())
            dialogs.beep();
    }

    void untickHaltOnError()
    {
        haltOnError = false;
        if (onHaltOnErrorUnticked)
            onHaltOnErrorUnticked();
    }

    // With "Halt on error" ticked: the one "Halt on Error" box with the error
    // text, after which the box unticks itself so that the link halts once.
    void haltOnErrorBox(Dialogs &dialogs, const QString &text)
    {
        if (!haltOnError)
            return;
        dialogs.Message_Box(text, Dialogs::OkOnly, QStringLiteral("Halt on Error"));
        untickHaltOnError();
    }

    // The same from a timer handler, which must not wait: this error is the
    // one that halts, but its box is shown from the loop.
    void postHaltOnErrorBox(EventLoop &loop, Dialogs &dialogs, const QString &text)
    {
        if (!haltOnError)
            return;
        untickHaltOnError();
        loop.post([&dialogs, text] {
            dialogs.Message_Box(text, Dialogs::OkOnly, QStringLiteral("Halt on Error"));
        });
    }
};
