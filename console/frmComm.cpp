#include "console/frmComm.h"

#include "console/LabelActivator.h"
#include "platform/StartupSettings.h"
#include "ui_frmComm.h"

frmComm::frmComm(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmComm>())
{
    m_ui->setupUi(this);
    connect(m_ui->txtstopbit2delay, &QLineEdit::textChanged, this, &frmComm::applyStopBit2Delay);
    wireClicks();
}

// The window's own clicks; those that act on the link are wired with it.
void frmComm::wireClicks()
{
    LabelActivator::attach(m_ui->lblCommStatus, [this] { m_ui->lblCommStatus->clear(); });
    LabelActivator::attach(m_ui->TxtTxd, [this] { m_ui->TxtTxd->clear(); });
    LabelActivator::attach(m_ui->LblRxd, [this] {
        const QString text = m_ui->LblRxd->text();
        m_ui->LblRxd->clear();
        Q_EMIT LblRxdClicked(text);
    });
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

frmComm::~frmComm() = default;

void frmComm::applyStopBit2Delay()
{
    double value = 0;
    // A field that does not hold a usable count keeps the value in use.
    if (StartupSettings::parseNumber(m_ui->txtstopbit2delay->text(), &value) && value >= 0
        && value <= 1e6)
        m_interCharDelay = int(StartupSettings::roundHalfEven(value));
    m_ui->lblStopbit2actual->setText(QString::number(m_interCharDelay));
}

void frmComm::setCsvOption(bool on)
{
    m_ui->ChkCSV->setChecked(on);
}

bool frmComm::csvOption() const
{
    return m_ui->ChkCSV->isChecked();
}

void frmComm::selectBaud9600Quietly()
{
    const QSignalBlocker quiet9600(m_ui->OptBaud9600);
    const QSignalBlocker quiet115(m_ui->OptBaud115K);
    m_ui->OptBaud9600->setChecked(true);
}
