#include "console/frmComm.h"

#include "console/FactoryPage.h"
#include "console/LabelActivator.h"
#include "platform/StartupSettings.h"
#include "ui_frmComm.h"

#include <QScreen>
#include <QScrollArea>

frmComm::frmComm(QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::frmComm>())
{
    m_ui->setupUi(this);
    addFactoryPage();
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

// The factory page stands beside the link's controls; it scrolls where the
// screen is smaller than the page.
void frmComm::addFactoryPage()
{
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("factoryPageArea"));
    scroll->setWidgetResizable(true);
    m_factoryPage = new FactoryPage(scroll);
    scroll->setWidget(m_factoryPage);
    m_ui->commRow->addWidget(scroll, 1);
    // Wide enough for the link's controls and a whole page of the factory
    // tabs, but never larger than the screen.
    QSize size(m_ui->commLayout->sizeHint().width() + m_factoryPage->sizeHint().width() + 40,
               qMax(m_ui->commLayout->sizeHint().height(), m_factoryPage->sizeHint().height()) + 30);
    if (const QScreen *shown = screen())
        size = size.boundedTo(shown->availableGeometry().size());
    resize(size);
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
