#pragma once

#include "calibration/PhRemoteDisplay.h"

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class FrmpHRemDispSetup;
}
class Dialogs;
class LoggerConnection;
class QTabWidget;
struct SetupState;

// "Remote Display & Alarm Setup": asks for the converter counts of a pH
// sensor in the pH 4.01 and 7.00 buffers (or takes channel 1's own
// calibration), and writes the line the remote display and alarm use into
// channel 1's block. Opened modally while a test is initialized.
//
// Escape or the window's close button skip the setup: nothing is written and
// the initialization goes on. While the lines are being written the window
// cannot be closed.
class FrmpHRemDispSetup : public QDialog
{
    Q_OBJECT

public:
    struct Parts
    {
        LoggerConnection &connection;
        Dialogs &dialogs;
        // The test being initialized: its scan period.
        const SetupState &setup;
        // The main window's tabs: the Setup tab is selected when done.
        QTabWidget &tabs;
    };

    explicit FrmpHRemDispSetup(const Parts &parts, QWidget *parent = nullptr);
    ~FrmpHRemDispSetup() override;

    Ui::FrmpHRemDispSetup &ui() { return *m_ui; }

    // Clears the boxes and the perfect-sensor box, shows the instructions and
    // runs the window modally. True when the line was written.
    bool showModal();

    void reject() override;

private:
    void cmdRemDispSetupDone_Click();
    std::optional<PhRemoteDisplay::Line> lineFromBoxes();
    bool writeLine(const PhRemoteDisplay::Line &line);
    void setCaption(const QString &caption);
    int showBox(const PhRemoteDisplay::Message &message, int buttonsAndIcon);

    std::unique_ptr<Ui::FrmpHRemDispSetup> m_ui;
    Parts m_p;
    bool m_writing = false;
    bool m_written = false;
};
