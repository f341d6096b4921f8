#pragma once

#include <QObject>
#include <QString>
#include <array>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class SetupRules;
class StartupSettings;
struct SetupState;

// "Save Current" and "Load Saved" on the Setup tab: the setup kept as the
// default in the settings store, its channels and monitor as the 32-digit
// saved setup list.
class SavedSetup : public QObject
{
    Q_OBJECT

public:
    // The selection a saved setup list holds.
    struct Selection
    {
        std::array<bool, 8> channels{}; // index = channel number - 1
        int monitorChannel = 0;         // 0: none
    };

    // Two hexadecimal digits a channel, 0x40 when selected; channel 1's also
    // carry the monitor channel plus 0x80 when one is set; sixteen "0" after.
    static QString encode(const Selection &selection);
    // Digits that are not hexadecimal read as 0.
    static Selection decode(const QString &list);

    struct Parts
    {
        Ui::FrmStartup &ui;
        SetupState &setup;
        SetupRules &setupRules;
        Dialogs &dialogs;
        StartupSettings &settings;
    };

    explicit SavedSetup(const Parts &parts, QObject *parent = nullptr);

    void cmdSaveSetup_Click();
    void cmdLoadDefault_Click();

private:
    Selection currentSelection() const;
    void select(const Selection &selection);

    Parts m_p;
};
