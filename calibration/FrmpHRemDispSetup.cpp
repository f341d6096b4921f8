#include "calibration/FrmpHRemDispSetup.h"

#include "calibration/PhDisplayLineWriter.h"
#include "console/MainTab.h"
#include "console/SetupState.h"
#include "link/LoggerBusy.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"
#include "ui_FrmpHRemDispSetup.h"

#include <QTabWidget>

namespace {

const QString ContinueCaption = QStringLiteral("Click to Continue");
const QString WaitCaption = QStringLiteral("Please Wait a Moment");

} // namespace

FrmpHRemDispSetup::FrmpHRemDispSetup(const Parts &parts, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::FrmpHRemDispSetup>())
    , m_p(parts)
{
    m_ui->setupUi(this);
    connect(m_ui->cmdRemDispSetupDone, &QPushButton::clicked, this,
            &FrmpHRemDispSetup::cmdRemDispSetupDone_Click);
}

FrmpHRemDispSetup::~FrmpHRemDispSetup() = default;

bool FrmpHRemDispSetup::showModal()
{
    m_ui->ChkUsePerfectSensor->setChecked(false);
    m_ui->txtPH4->clear();
    m_ui->txtPH7->clear();
    m_ui->lblRemDispSetup->setText(PhRemoteDisplay::instructions());
    m_ui->cmdRemDispSetupDone->setEnabled(true);
    m_ui->cmdRemDispSetupDone->setVisible(true);
    setCaption(ContinueCaption);
    m_written = false;
    m_p.dialogs.runModal(this);
    return m_written;
}

void FrmpHRemDispSetup::reject()
{
    // Closing half way through the four lines would leave them half written.
    if (m_writing)
        return;
    QDialog::reject();
}

void FrmpHRemDispSetup::setCaption(const QString &caption)
{
    m_ui->cmdRemDispSetupDone->setText(caption);
    m_ui->cmdRemDispSetupDone->setAccessibleName(caption);
}

int FrmpHRemDispSetup::showBox(const PhRemoteDisplay::Message &message, int buttonsAndIcon)
{
    return m_p.dialogs.Message_Box(message.text, buttonsAndIcon, message.title);
}

void FrmpHRemDispSetup::cmdRemDispSetupDone_Click()
{
    if (m_writing)
        return;
    if (m_p.setup.periodSeconds < PhRemoteDisplay::ScanWarningSeconds)
        showBox(PhRemoteDisplay::scanPeriodMessage(), Dialogs::OkOnly);
    setCaption(WaitCaption);
    const std::optional<PhRemoteDisplay::Line> line =
        m_ui->ChkUsePerfectSensor->isChecked()
            ? std::optional(PhRemoteDisplay::fromRecord(m_p.connection.header.channel[0]))
            : lineFromBoxes();
    // A count out of range or reversed: the window stays open, nothing written.
    if (!line || !writeLine(*line))
        return;
    m_written = true;
    accept();
    m_p.tabs.setCurrentIndex(MainTab::Setup);
}

std::optional<PhRemoteDisplay::Line> FrmpHRemDispSetup::lineFromBoxes()
{
    const QString ph4 = m_ui->txtPH4->text();
    const QString ph7 = m_ui->txtPH7->text();
    // Either answer goes on to the checks, an empty box counting as 0.
    if (ph4.isEmpty() || ph7.isEmpty())
        showBox(PhRemoteDisplay::emptyBoxMessage(), Dialogs::OkCancel);
    const std::optional<qint16> a4 = PhRemoteDisplay::count(ph4);
    const std::optional<qint16> a7 = PhRemoteDisplay::count(ph7);
    const PhRemoteDisplay::Check check = PhRemoteDisplay::check(a4, a7);
    if (check != PhRemoteDisplay::Check::Ok) {
        showBox(PhRemoteDisplay::message(check), Dialogs::OkCancel);
        return std::nullopt;
    }
    return PhRemoteDisplay::fromCounts(*a4, *a7);
}

// Runs as the link's one sequence, so no header read is interleaved with it.
// False when the line was not written; the operator has been told why.
bool FrmpHRemDispSetup::writeLine(const PhRemoteDisplay::Line &line)
{
    LoggerConnection &c = m_p.connection;
    PhDisplayLineWriter writer(c.transport, c.state);
    PhDisplayLineWriter::Result result;
    m_writing = true;
    m_ui->cmdRemDispSetupDone->setEnabled(false);
    const bool ran = LoggerBusy::runCommand(c.link.sequences(), m_p.dialogs,
                                            [&] { result = writer.write(PhRemoteDisplay::lines(line)); });
    m_ui->cmdRemDispSetupDone->setEnabled(true);
    m_writing = false;
    if (ran && !result.written) {
        showBox(PhDisplayLineWriter::failureMessage(result), int(Dialogs::OkOnly) | Dialogs::Exclamation);
    }
    if (ran && result.written)
        return true;
    setCaption(ContinueCaption);
    return false;
}
