#include "console/frmDebugPrint.h"

#include "link/Trace.h"
#include "logger/WholeFile.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "ui_frmDebugPrint.h"

#include <QDir>
#include <QFileInfo>
#include <QTextCursor>

namespace {

const QString SaveTitle = QStringLiteral("Save Trace");

// The box holds the trace's lines without their CR LF.
QString boxText(QString trace)
{
    trace.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (trace.endsWith(u'\n'))
        trace.chop(1);
    return trace;
}

QFont fixedPitchFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

} // namespace

frmDebugPrint::frmDebugPrint(const Parts &parts, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmDebugPrint>())
    , m_p(parts)
{
    m_ui->setupUi(this);
    m_ui->txtDebugPrint->setFont(fixedPitchFont());
    connect(m_ui->cmdClear, &QPushButton::clicked, this, &frmDebugPrint::cmdClear_Click);
    connect(m_ui->cmdSave, &QPushButton::clicked, this, &frmDebugPrint::cmdSave_Click);
    connect(&m_p.trace, &Trace::lineAdded, this, &frmDebugPrint::lineAdded);
    showWholeTrace();
}

frmDebugPrint::~frmDebugPrint() = default;

void frmDebugPrint::blank()
{
    m_ui->txtDebugPrint->clear();
    m_inStep = false;
}

void frmDebugPrint::cmdClear_Click()
{
    m_p.trace.clear();
    m_ui->txtDebugPrint->clear();
    m_inStep = true;
}

void frmDebugPrint::cmdSave_Click()
{
    const QString stamp = m_p.loop.now().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString proposed = QDir(m_p.dataFolder ? m_p.dataFolder() : QString())
                                 .filePath(QStringLiteral("Trace-") + stamp + QStringLiteral(".txt"));
    QString file = m_p.dialogs.getSaveFileName(SaveTitle, proposed, QStringLiteral("Text files (*.txt)"));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".txt");
    QString error;
    if (!WholeFile::write(file, m_p.trace.text().toUtf8(), &error))
        m_p.dialogs.Message_Box(QStringLiteral("The trace could not be saved as ") + file
                                    + QStringLiteral(":\r\n") + error,
                                int(Dialogs::OkOnly) | Dialogs::Critical, SaveTitle);
}

void frmDebugPrint::lineAdded(const QString &line)
{
    QPlainTextEdit *box = m_ui->txtDebugPrint;
    // The box grows by whole lines while the trace drops its oldest; once it
    // holds well over the trace's bound it is shown afresh, trimmed.
    if (!m_inStep || box->document()->isEmpty()
        || box->document()->characterCount() > Trace::MaxChars + Trace::MaxChars / 8) {
        showWholeTrace();
        return;
    }
    QTextCursor top(box->document());
    top.movePosition(QTextCursor::Start);
    top.insertText(line + u'\n');
}

void frmDebugPrint::showWholeTrace()
{
    m_ui->txtDebugPrint->setPlainText(boxText(m_p.trace.text()));
    m_inStep = true;
}
