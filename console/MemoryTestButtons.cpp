#include "console/MemoryTestButtons.h"

#include "console/LabelActivator.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"
#include "ui_FrmStartup.h"

#include <QEvent>

MemoryTestButtons::MemoryTestButtons(const Parts &parts, QObject *parent)
    : QObject(parent), m_p(parts), m_test({parts.connection, parts.dialogs, parts.loop, m_display})
{
    Ui::FrmStartup &ui = m_p.ui;
    connect(ui.cmdQuickMemTest, &QAbstractButton::clicked, this, [this] { cmdQuickMemTest_Click(); });
    connect(ui.cmdLongMemTest, &QAbstractButton::clicked, this, [this] { cmdLongMemTest_Click(); });
    connect(ui.cmdShortMemTest, &QAbstractButton::clicked, this, [this] { cmdShortMemTest_Click(); });
    // The label takes double-clicks itself; from the keyboard Space or Enter does the same.
    m_memCheckLabel = ui.lblMemCheck;
    ui.lblMemCheck->installEventFilter(this);
    LabelActivator::attach(ui.lblMemCheck, [this] { lblMemCheck_DblClick(); }, LabelActivator::Input::KeysOnly);
    connect(&m_display, &MemoryTestDisplay::lineTested, this, [this](const QString &address) {
        showStatus(QStringLiteral("Testing ") + address + u'h');
    });
    connect(&m_display, &MemoryTestDisplay::shown, this,
            [this](const QString &, const QString &result) { showStatus(result); });
}

bool MemoryTestButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_memCheckLabel && event->type() == QEvent::MouseButtonDblClick) {
        lblMemCheck_DblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool MemoryTestButtons::warned()
{
    const QString CrLf = QStringLiteral("\r\n");
    return m_p.dialogs.Message_Box(QStringLiteral("THIS WILL DESTROY ANY TEST DATA!") + CrLf
                                       + QStringLiteral("Have you downloaded?") + CrLf
                                       + QStringLiteral("OK to continue Test, Cancel to abort"),
                                   int(Dialogs::OkCancel) | Dialogs::Exclamation, QStringLiteral("Memory Test"))
        == Dialogs::Ok;
}

void MemoryTestButtons::start(DataMemoryTest::Length length)
{
    // A click that arrives while a test runs (the test lets events through)
    // starts nothing.
    if (m_running || !warned())
        return;
    m_running = true;
    m_p.ui.cmdQuickMemTest->setEnabled(false);
    m_p.ui.cmdLongMemTest->setEnabled(false);
    m_test.subChkDataMem(length);
    m_p.ui.cmdQuickMemTest->setEnabled(true);
    m_p.ui.cmdLongMemTest->setEnabled(true);
    m_running = false;
}

void MemoryTestButtons::showStatus(const QString &text)
{
    m_p.ui.lblMemCheck->setText(text);
}
