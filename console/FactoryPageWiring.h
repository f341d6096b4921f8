#pragma once

#include <QObject>
#include <functional>
#include <memory>

class Dialogs;
class EventLoop;
class FactoryPage;
class FactoryPageCommands;
class HeaderFileCommands;
class HeaderMemoryTest;
class MemoryTestButtons;
class MemoryTopProbe;
class LoggerConnection;
class QAbstractButton;
class QLineEdit;

// Runs the factory page's commands on the connected logger and keeps the page
// in step with it: the header fields after every header read, the live block
// after every capture, the connection's first lines, and a blank page when
// the logger is gone. Each command runs as the link's one sequence, so two
// never talk to the logger at once.
class FactoryPageWiring : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        FactoryPage &page;
        LoggerConnection &connection;
        EventLoop &loop;
        Dialogs &dialogs;
        HeaderFileCommands &headerFiles;
        // The data memory test and the test displays, shared with the Help tab.
        MemoryTestButtons &memoryTests;
        std::function<QString()> dataFolder;
        // The main window's download of the logger, with its files and notes.
        std::function<void()> download;
    };

    FactoryPageWiring(const Parts &parts, QObject *parent = nullptr);
    ~FactoryPageWiring() override;

    // The receive label was clicked: its text becomes the text to send.
    void takeReceivedText(const QString &text);

private:
    void wireLoggerEvents();
    void wireManualReads();
    void wireManualWrites();
    void wireLoggerCommands();
    void wireFactoryWrites();
    void wireMemoryTests();
    void onButton(QAbstractButton *button, std::function<void()> command);
    void run(const std::function<void()> &command);
    void readNext(QLineEdit *field, int digits, bool data);
    void takeFields();
    void showFields();

    Parts m_p;
    std::unique_ptr<FactoryPageCommands> m_commands;
    std::unique_ptr<HeaderMemoryTest> m_headerTest;
    std::unique_ptr<MemoryTopProbe> m_topProbe;
};
