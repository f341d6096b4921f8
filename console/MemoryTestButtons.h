#pragma once

#include "logger/DataMemoryTest.h"
#include "logger/MemoryTestDisplay.h"

#include <QObject>

namespace Ui {
class FrmStartup;
}
class Dialogs;
class EventLoop;
class LoggerConnection;

// The Help tab's data memory test buttons: "Quick Memory Test" and "Long
// Memory Test" start the test after a warning that it destroys the test data,
// "Shorten Memory Test" and a double-click on the memory-check status label
// set its short-test flag. The test and its displays are kept here, so the
// factory page can run and follow the same test.
class MemoryTestButtons : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        Ui::FrmStartup &ui;
        LoggerConnection &connection;
        Dialogs &dialogs;
        EventLoop &loop;
    };

    MemoryTestButtons(const Parts &parts, QObject *parent = nullptr);

    MemoryTestDisplay &display() { return m_display; }
    DataMemoryTest &dataTest() { return m_test; }

    void cmdQuickMemTest_Click() { start(DataMemoryTest::Length::Quick); }
    void cmdLongMemTest_Click() { start(DataMemoryTest::Length::Long); }
    void cmdShortMemTest_Click() { m_test.requestShortTest(); }
    void lblMemCheck_DblClick() { m_test.requestShortTest(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The warning every start asks first: true for OK.
    bool warned();
    void start(DataMemoryTest::Length length);
    void showStatus(const QString &text);

    Parts m_p;
    // The label watched for double-clicks, kept apart from the form's
    // struct, which the main window frees before its widgets.
    QObject *m_memCheckLabel = nullptr;
    MemoryTestDisplay m_display;
    DataMemoryTest m_test;
    bool m_running = false;
};
