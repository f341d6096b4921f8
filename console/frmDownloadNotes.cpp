#include "console/frmDownloadNotes.h"

#include "ui_frmDownloadNotes.h"

frmDownloadNotes::frmDownloadNotes(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmDownloadNotes>())
{
    m_ui->setupUi(this);
    connect(m_ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

frmDownloadNotes::~frmDownloadNotes() = default;

QString frmDownloadNotes::notes() const
{
    return m_ui->txtDownloadNotes->toPlainText();
}
