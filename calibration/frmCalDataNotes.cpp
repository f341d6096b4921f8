#include "calibration/frmCalDataNotes.h"

#include "ui_frmCalDataNotes.h"

frmCalDataNotes::frmCalDataNotes(QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::frmCalDataNotes>())
{
    m_ui->setupUi(this);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cmdCancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        reject();
    });
    // Closing the dialog by its frame is a Cancel too.
    connect(this, &QDialog::rejected, this, [this] { m_cancelled = true; });
}

frmCalDataNotes::~frmCalDataNotes() = default;

void frmCalDataNotes::prepare(const QString &caption)
{
    setWindowTitle(caption);
    m_cancelled = false;
}

frmCalDataNotes::Where frmCalDataNotes::whereToPrint() const
{
    if (m_ui->optWhereToPrint0->isChecked())
        return PrintNow;
    if (m_ui->optWhereToPrint2->isChecked())
        return PrintAndSave;
    return SaveToFile;
}

QString frmCalDataNotes::notes() const
{
    return m_ui->txtCalDataNotes->toPlainText();
}
