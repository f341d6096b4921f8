#pragma once

#include <QObject>
#include <functional>
#include <memory>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class EventLoop;
class StartupSettings;
class Timer;
struct MainWindowState;
struct SetupState;

// The local and GMT clocks on the Log-On and Defaults tabs, the GMT delta, and
// setting the PC's date and time.
class ClockDisplay : public QObject
{
    Q_OBJECT

public:
    static constexpr int TickMs = 15000;

    ClockDisplay(Ui::FrmStartup &ui, MainWindowState &state, SetupState &setup,
                 EventLoop &loop, Dialogs &dialogs, StartupSettings &settings);
    ~ClockDisplay() override;

    // Runs on every tick after the displays are refreshed (duration figures).
    void setTickHook(std::function<void()> hook) { m_tickHook = std::move(hook); }

    void start();
    void refresh();
    void Timer1_Timer();

    void TxtGMTDelta_LostFocus();
    void TxtSystemDateInp_LostFocus();
    void TxtSystemTimeInp_LostFocus();

    static QString dateTimeText(const QDateTime &t);
    // The reverse, for the start and stop displays; invalid for other text.
    static QDateTime dateTimeFromText(const QString &text);

private:
    bool setClock(const QDateTime &target, const QString &title);

    Ui::FrmStartup &m_ui;
    MainWindowState &m_state;
    SetupState &m_setup;
    EventLoop &m_loop;
    Dialogs &m_dialogs;
    StartupSettings &m_settings;
    std::unique_ptr<Timer> m_timer1;
    std::function<void()> m_tickHook;
};
