#include "console/frmComm.h"

#include "console/FactoryPage.h"
#include "platform/StartupSettings.h"
#include "ui_frmComm.h"

#include <QScrollArea>

frmComm::frmComm(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmComm>())
{
    m_ui->setupUi(this);
    addFactoryPage();
    connect(m_ui->txtstopbit2delay, &QLineEdit::textChanged, this, &frmComm::applyStopBit2Delay);
}

frmComm::~frmComm() = default;

// The factory page is large; it scrolls below the link's controls so the
// window fits a laptop screen.
void frmComm::addFactoryPage()
{
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("factoryPageArea"));
    scroll->setWidgetResizable(true);
    m_factoryPage = new FactoryPage(scroll);
    scroll->setWidget(m_factoryPage);
    m_ui->commLayout->insertWidget(m_ui->commLayout->count() - 1, scroll, 1);
}

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
