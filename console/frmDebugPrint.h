#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class frmDebugPrint;
}
class Dialogs;
class EventLoop;
class Trace;

// The trace window: the link's trace, newest line first, in a fixed-pitch
// box, with "Clear Box" and a save to a text file for fault reports. It
// follows the trace as lines arrive; blanking the box only blanks the view,
// and the next line shows the whole trace again.
class frmDebugPrint : public QDialog
{
    Q_OBJECT

public:
    struct Parts
    {
        Trace &trace;
        Dialogs &dialogs;
        EventLoop &loop;
        // The folder the save proposes.
        std::function<QString()> dataFolder;
    };

    explicit frmDebugPrint(const Parts &parts, QWidget *parent = nullptr);
    ~frmDebugPrint() override;

    Ui::frmDebugPrint &ui() { return *m_ui; }

    // Empties the box, not the trace.
    void blank();
    // "Clear Box": empties the trace and the box.
    void cmdClear_Click();
    // "Save...": the whole trace, as it stands, to a text file.
    void cmdSave_Click();

private:
    void lineAdded(const QString &line);
    void showWholeTrace();

    std::unique_ptr<Ui::frmDebugPrint> m_ui;
    Parts m_p;
    // The box shows the whole trace and can take each new line on top.
    bool m_inStep = true;
};
