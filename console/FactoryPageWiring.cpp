#include "console/FactoryPageWiring.h"

#include "console/FactoryPage.h"
#include "console/MemoryTestButtons.h"
#include "logger/HeaderMemoryTest.h"
#include "logger/MemoryTestParts.h"
#include "logger/MemoryTopProbe.h"
#include "link/LoggerBusy.h"
#include "link/ManualLine.h"
#include "logger/FactoryPageCommands.h"
#include "logger/HeaderFileCommands.h"
#include "logger/LoggerConnection.h"
#include "ui_FactoryPage.h"

FactoryPageWiring::FactoryPageWiring(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
    , m_commands(std::make_unique<FactoryPageCommands>(parts.connection.transport,
                                                       parts.connection.state, parts.loop,
                                                       parts.dialogs))
{
    wireLoggerEvents();
    wireManualReads();
    wireManualWrites();
    wireLoggerCommands();
    wireFactoryWrites();
    wireMemoryTests();
}

FactoryPageWiring::~FactoryPageWiring() = default;

void FactoryPageWiring::wireLoggerEvents()
{
    LoggerConnection &c = m_p.connection;
    FactoryPage &page = m_p.page;
    Ui::FactoryPage &ui = page.ui();
    c.factoryFieldsRead = [this] { showFields(); };
    connect(&c.link, &SerialLink::newConnectionStarting, &page, &FactoryPage::clearModelList);
    connect(&c.link, &SerialLink::loggerLost, &page, &FactoryPage::subClearFactoryDisplay);
    connect(&c.link, &SerialLink::firstLinesRead, &page,
            [&page, &ui](const QStringList &lines, const QString &status) {
                page.showConnection(lines, status);
                ui.txtReadData->setText(QStringLiteral("000000"));
                ui.txtReadAddr->setText(QStringLiteral("0000"));
            });
    connect(&c.capture, &EventCapture::picInfoRead, &page,
            [&c, &page] { page.showLiveBlock(c.capture.values()); });
    connect(&c.capture, &EventCapture::scanNumbersChanged, &page,
            [&ui](const QString &eventScan, const QString &currentScan) {
                ui.lblEventScanNumb->setText(eventScan);
                ui.lblCurrentpScanNumb->setText(currentScan);
                ui.lblPI->setText(eventScan != QStringLiteral("0") ? eventScan : currentScan);
            });
    connect(&c.headerReader, &HeaderReader::headerNotesShown, ui.txtHeaderNotes,
            &QPlainTextEdit::setPlainText);
    connect(&c.initializer, &LoggerInitializer::initTimeShown, ui.txtLastReadTime, &QLineEdit::setText);
    connect(&c.initializer, &LoggerInitializer::lastReadCleared, &page, [&ui] {
        for (QLabel *label : {ui.lblLastReadTime, ui.lblLastReadInterval, ui.lblLastReadTime2})
            label->clear();
    });
    // The battery limit of the header read is the VBat limit as typed.
    connect(ui.txtVbatLimit, &QLineEdit::textChanged, this,
            [&c](const QString &text) { c.initializer.factory().batteryLimit = text; });
}

void FactoryPageWiring::wireManualReads()
{
    Ui::FactoryPage &ui = m_p.page.ui();
    const std::pair<QAbstractButton *, int> fixed[] = {
        {ui.cmdRead0000, 0x00}, {ui.cmdRead0010, 0x10}, {ui.cmdRead0020, 0x20},
        {ui.cmdRead0030, 0x30}, {ui.cmdRead0040, 0x40}, {ui.cmdRead0050, 0x50},
    };
    for (const auto &[button, address] : fixed)
        onButton(button, [this, address = address] { m_commands->readHexHeader(address); });
    onButton(ui.cmdRead0200, [this, &ui] {
        m_commands->readHeaderText(ui.txtReadAddr->text(), ui.cmdRead0200->text());
    });
    onButton(ui.CmdReadNext, [this, &ui] { readNext(ui.txtReadAddr, 4, false); });
    onButton(ui.cmdReadDataL0000, [this, &ui] {
        m_commands->readData(ui.txtReadData->text(), ui.cmdReadDataL0000->text());
    });
    onButton(ui.cmdReadNextData, [this, &ui] { readNext(ui.txtReadData, 6, true); });
}

// "Next": the field moves 16 bytes on, then that line is read. A field that
// is not hexadecimal stays as it is and the read names it.
void FactoryPageWiring::readNext(QLineEdit *field, int digits, bool data)
{
    if (const std::optional<QString> next = ManualLine::nextAddress(field->text(), digits))
        field->setText(*next);
    if (data)
        m_commands->readData(field->text(), QStringLiteral("Next"));
    else
        m_commands->readHeaderText(field->text(), QStringLiteral("Next"));
}

void FactoryPageWiring::wireManualWrites()
{
    Ui::FactoryPage &ui = m_p.page.ui();
    onButton(ui.cmdwritedata, [this, &ui] {
        m_commands->writeData(ui.txtMem->text(), ui.TxtTexttoSend->text(), ui.cmdwritedata->text());
    });
    onButton(ui.CmdWrtAscii, [this, &ui] {
        m_commands->writeHeaderText(ui.txtMem->text(), ui.TxtTexttoSend->text(), ui.CmdWrtAscii->text());
    });
    onButton(ui.cmdWrtBin, [this, &ui] {
        m_commands->writeHeaderHex(ui.txtMem->text(), ui.TxtTexttoSend->text(), ui.cmdWrtBin->text());
    });
    onButton(ui.cmdClearData, [this] { m_commands->clearData(); });
    onButton(ui.cmdWriteHeaderNotes, [this, &ui] {
        m_commands->writeHeaderNotes(ui.txtHeaderNotes->toPlainText());
    });
}

void FactoryPageWiring::wireLoggerCommands()
{
    LoggerConnection &c = m_p.connection;
    Ui::FactoryPage &ui = m_p.page.ui();
    // The download runs its own checks and busy handling.
    connect(ui.cmdReadData, &QAbstractButton::clicked, this, [this] {
        if (m_p.download)
            m_p.download();
    });
    onButton(ui.cmdReadPic, [&c] { c.capture.subReadPic(); });
    onButton(ui.cmdReadHeader, [&c] { c.readHeader(); });
    onButton(ui.cmdConfirmSN, [&c] { c.headerReader.subConfirmSN(); });
    onButton(ui.cmdReadRT, [&c] { c.transport.sendCommand(QStringLiteral("r")); });
    onButton(ui.cmdReadR, [&c] { c.transport.sendCommand(QStringLiteral("R")); });
    onButton(ui.cmdSaveHeaderFile, [this] { m_p.headerFiles.saveHeaderFile(); });
    onButton(ui.cmdReadHeaderFile, [this] { m_p.headerFiles.loadHeaderFile(); });
}

void FactoryPageWiring::wireFactoryWrites()
{
    LoggerConnection &c = m_p.connection;
    Ui::FactoryPage &ui = m_p.page.ui();
    onButton(ui.cmdFirstInit, [this, &c] {
        takeFields();
        c.initializer.subFirstInit();
    });
    onButton(ui.cmdSaveFactoryHeader, [this, &c] {
        takeFields();
        c.initializer.subFactoryHeaderInit();
    });
    onButton(ui.cmdWriteTripLevels, [this, &c] {
        takeFields();
        c.initializer.cmdWriteTripLevels();
    });
}

// The factory page runs the tests at once; the Help tab's buttons warn first.
// Both follow the same data memory test, so either page can shorten it.
void FactoryPageWiring::wireMemoryTests()
{
    Ui::FactoryPage &ui = m_p.page.ui();
    MemoryTestDisplay &display = m_p.memoryTests.display();
    const MemoryTestParts parts{m_p.connection, m_p.dialogs, m_p.loop, display};
    m_headerTest = std::make_unique<HeaderMemoryTest>(parts, m_p.dataFolder);
    m_topProbe = std::make_unique<MemoryTopProbe>(parts);
    DataMemoryTest &dataTest = m_p.memoryTests.dataTest();
    onButton(ui.cmdChkHdrMem, [this] { m_headerTest->subChkHdrMem(); });
    onButton(ui.cmdChkDataMemQuick, [&dataTest] { dataTest.subChkDataMem(DataMemoryTest::Length::Quick); });
    onButton(ui.cmdChkDataMemLong, [&dataTest] { dataTest.subChkDataMem(DataMemoryTest::Length::Long); });
    onButton(ui.cmdChkDataMemTop, [this] { m_topProbe->probe(); });
    // Pressed while a test runs, so not a command of its own.
    connect(ui.cmdShortTest, &QAbstractButton::clicked, this, [&dataTest] { dataTest.requestShortTest(); });
    connect(&display, &MemoryTestDisplay::lineTested, ui.lblMemTestStatus, &QLabel::setText);
    connect(&display, &MemoryTestDisplay::shown, &m_p.page, [&ui](const QString &status, const QString &result) {
        if (!status.isEmpty())
            ui.lblMemTestStatus->setText(status);
        ui.lblMemTestResult->setText(result);
    });
}

void FactoryPageWiring::onButton(QAbstractButton *button, std::function<void()> command)
{
    connect(button, &QAbstractButton::clicked, this, [this, command = std::move(command)] { run(command); });
}

void FactoryPageWiring::run(const std::function<void()> &command)
{
    LoggerBusy::runCommand(m_p.connection.link.sequences(), m_p.dialogs, command);
}

void FactoryPageWiring::takeFields()
{
    FactoryFields &fields = m_p.connection.initializer.factory();
    fields = m_p.page.fields(fields);
}

void FactoryPageWiring::showFields()
{
    m_p.page.showFields(m_p.connection.initializer.factory(), m_p.connection.header);
}

void FactoryPageWiring::takeReceivedText(const QString &text)
{
    m_p.page.ui().TxtTexttoSend->setText(text);
}
