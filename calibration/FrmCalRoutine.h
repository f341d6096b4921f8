#pragma once

#include "calibration/CalClipboard.h"
#include "calibration/CalChannelWrite.h"
#include "calibration/CalComputation.h"
#include "logger/LoggerHeader.h"

#include <QDateTime>
#include <QDialog>
#include <array>
#include <functional>
#include <memory>

namespace Ui {
class FrmCalRoutine;
}
class CalibrationFileCommands;
class Dialogs;
class LoggerConnection;
class Printer;
class QLineEdit;
class SettingsStore;

// The calibration window: one channel's calibration, loaded from the
// logger's header, computed from the sensor's two calibration points and
// written back into the channel's block. Created once and shown again, so
// the channel box keeps the channel last chosen.
class FrmCalRoutine : public QDialog
{
    Q_OBJECT

public:
    struct Parts
    {
        LoggerConnection &connection;
        Dialogs &dialogs;
        SettingsStore &store;
        // A channel was written and read back: the main window shows the Cal
        // Data tab with the new values.
        std::function<void()> channelSaved;
        // A channel was written: for the calibration log.
        std::function<void(int channelIndex, const ChannelCalRecord &before, const ChannelCalRecord &after)>
            channelWritten;
        // Today, for due dates (tests fix it).
        std::function<QDate()> today;
        // "Save To File" and "Recall From File".
        CalibrationFileCommands &files;
        // "Print Channel Settings", stamped with the date and time now.
        Printer &printer;
        std::function<QDateTime()> now;
    };

    static const QString InvalidChannelTitle;
    static const QString ComputeTitle;

    explicit FrmCalRoutine(const Parts &parts, QWidget *parent = nullptr);
    ~FrmCalRoutine() override;

    Ui::FrmCalRoutine &ui() { return *m_ui; }
    // Loads the channel named in the channel box and shows the window modally.
    void showModal();
    void setChannelBox(const QString &text);

    CalBoxes boxes() const;
    void setBoxes(const CalBoxes &boxes);
    int calChannel() const { return m_calChannel; }
    bool calChangesPending() const { return m_calChangesPending; }
    const CalComputation::State &computation(int channelIndex) const { return m_computed.at(channelIndex); }

    void loadChannel(bool withDueDate = true);
    void CmdComputeCalFactors_Click();
    void CmdSave_Click();
    void CmdExitNoSave_Click();
    void cmdFactoryDefaults_Click();
    void cmdSaveCurrent_Click();
    void cmdRecallLast_Click();
    void cmdSaveToFile_Click();
    void cmdGetFromFile_Click();
    void cmdPrintSettings_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int validatedChannelIndex();
    QLineEdit *box(int number) const;
    void showOutputColour(int number, bool clips);
    bool changesPending() const;
    QDate today() const;

    std::unique_ptr<Ui::FrmCalRoutine> m_ui;
    Parts m_p;
    CalClipboard m_clipboard;
    CalChannelWrite m_write;
    // The last computation of each channel, kept for the run.
    std::array<CalComputation::State, LoggerHeader::ChannelRecords> m_computed{};
    int m_calChannel = 0;
    bool m_calChangesPending = false;
    bool m_loading = false;
};
