#pragma once

#include <QString>

class QObject;

// Everything that stops and asks the operator. The logic below the windows
// reaches the operator only through this interface.
class Dialogs
{
public:
    // Button sets, icons and default buttons of Message_Box; add one of each.
    enum Buttons {
        OkOnly = 0,
        OkCancel = 1,
        AbortRetryIgnore = 2,
        YesNoCancel = 3,
        YesNo = 4,
        RetryCancel = 5,
    };
    enum Icon {
        NoIcon = 0,
        Critical = 16,
        Question = 32,
        Exclamation = 48,
        Information = 64,
    };
    enum DefaultButton {
        DefaultButton1 = 0,
        DefaultButton2 = 256,
        DefaultButton3 = 512,
    };
    enum Answer {
        Ok = 1,
        Cancel = 2,
        Abort = 3,
        Retry = 4,
        Ignore = 5,
        Yes = 6,
        No = 7,
    };

    static int buttonSet(int code) { return code & 0x0F; }
    static int icon(int code) { return code & 0x70; }
    static int defaultButton(int code) { return code & 0x300; }

    virtual ~Dialogs() = default;

    // One modal box; returns the Answer of the button pressed.
    virtual int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) = 0;

    // Empty result when the operator cancels.
    virtual QString getOpenFileName(const QString &title, const QString &folder,
                                    const QString &filter) = 0;
    virtual QString getSaveFileName(const QString &title, const QString &folder,
                                    const QString &filter) = 0;

    // Runs a window (a QDialog) modally and returns its result code.
    virtual int runModal(QObject *window) = 0;

    virtual void beep() = 0;
    // The busy (hourglass) pointer, while a long command runs.
    virtual void setBusy(bool busy) = 0;
};
