#include "calibration/FrmCalRoutine.h"

#include "calibration/CalNumbers.h"
#include "calibration/CalibrationFileCommands.h"
#include "logger/LoggerConnection.h"
#include "platform/Dialogs.h"
#include "platform/StartupSettings.h"
#include "reports/CalSettingsReport.h"
#include "ui_FrmCalRoutine.h"

#include <QFocusEvent>

namespace {
const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);
constexpr int HiddenProgress = -1;
} // namespace

const QString FrmCalRoutine::InvalidChannelTitle = QStringLiteral("Invalid Channel Number");
const QString FrmCalRoutine::ComputeTitle = QStringLiteral("Compute Cal Factors");

FrmCalRoutine::FrmCalRoutine(const Parts &parts, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::FrmCalRoutine>())
    , m_p(parts)
    , m_clipboard(parts.store, parts.dialogs)
    , m_write({parts.connection, parts.dialogs,
               [this](int value) {
                   m_ui->PgbReadHeader->setVisible(value != HiddenProgress);
                   if (value != HiddenProgress)
                       m_ui->PgbReadHeader->setValue(value);
               },
               [this] { CmdComputeCalFactors_Click(); }, parts.channelWritten})
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("FrmCalRoutine"));
    m_ui->PgbReadHeader->hide();
    connect(m_ui->CmdComputeCalFactors, &QPushButton::clicked, this, &FrmCalRoutine::CmdComputeCalFactors_Click);
    connect(m_ui->CmdSave, &QPushButton::clicked, this, &FrmCalRoutine::CmdSave_Click);
    connect(m_ui->CmdExitNoSave, &QPushButton::clicked, this, &FrmCalRoutine::CmdExitNoSave_Click);
    connect(m_ui->cmdFactoryDefaults, &QPushButton::clicked, this, &FrmCalRoutine::cmdFactoryDefaults_Click);
    connect(m_ui->cmdSaveCurrent, &QPushButton::clicked, this, &FrmCalRoutine::cmdSaveCurrent_Click);
    connect(m_ui->cmdRecallLast, &QPushButton::clicked, this, &FrmCalRoutine::cmdRecallLast_Click);
    connect(m_ui->cmdSaveToFile, &QPushButton::clicked, this, &FrmCalRoutine::cmdSaveToFile_Click);
    connect(m_ui->cmdGetFromFile, &QPushButton::clicked, this, &FrmCalRoutine::cmdGetFromFile_Click);
    connect(m_ui->cmdPrintSettings, &QPushButton::clicked, this, &FrmCalRoutine::cmdPrintSettings_Click);
    m_ui->TxtSensorNum->installEventFilter(this);
    loadChannel(false);
}

FrmCalRoutine::~FrmCalRoutine() = default;

void FrmCalRoutine::showModal()
{
    loadChannel();
    m_p.dialogs.runModal(this);
}

void FrmCalRoutine::setChannelBox(const QString &text)
{
    m_ui->TxtSensorNum->setText(text);
}

QLineEdit *FrmCalRoutine::box(int number) const
{
    return findChild<QLineEdit *>(QLatin1String(CalFields::field(number).box));
}

CalBoxes FrmCalRoutine::boxes() const
{
    CalBoxes result;
    for (int number = 1; number < CalFields::CalType; ++number)
        result[number] = box(number)->text();
    result.twoPoint = m_ui->chkCalType->isChecked();
    return result;
}

void FrmCalRoutine::setBoxes(const CalBoxes &boxes)
{
    for (int number = 1; number < CalFields::CalType; ++number)
        box(number)->setText(boxes[number]);
    m_ui->chkCalType->setChecked(boxes.twoPoint);
}

// The channel box names a channel of this logger: 1 up to the installed
// channels, never beyond the blocks the logger's header has.
int FrmCalRoutine::validatedChannelIndex()
{
    const int installed = m_p.connection.header.channelBlocks();
    if (CalNumbers::value(m_ui->TxtSensorNum->text()) > installed) {
        m_p.dialogs.Message_Box(
            QStringLiteral("Channel number greater than number of installed channels, please re-enter channel number."),
            int(Dialogs::OkOnly) | Dialogs::Information, InvalidChannelTitle);
        m_ui->TxtSensorNum->setText(QString::number(installed));
    }
    if (CalNumbers::value(m_ui->TxtSensorNum->text()) < 1) {
        m_p.dialogs.Message_Box(QStringLiteral("Channel number less than one, please re-enter channel number"),
                                int(Dialogs::OkOnly) | Dialogs::Information, InvalidChannelTitle);
        m_ui->TxtSensorNum->setText(QStringLiteral("1"));
    }
    const qint64 index = StartupSettings::roundHalfEven(CalNumbers::value(m_ui->TxtSensorNum->text()) - 1);
    return int(std::clamp<qint64>(index, 0, LoggerHeader::ChannelBlocks - 1));
}

void FrmCalRoutine::loadChannel(bool withDueDate)
{
    m_loading = true;
    m_calChannel = validatedChannelIndex();
    m_loading = false;
    const LoggerHeader &header = m_p.connection.header;
    const ChannelCalRecord &record = header.channel.at(m_calChannel);
    CalBoxes values = boxes();
    for (int number = CalFields::ExcitationUnits; number < CalFields::CalType; ++number)
        values[number] = CalFields::recordText(record, number);
    if (record.excitationUnits.trimmed().isEmpty())
        values[CalFields::ExcitationUnits] =
            header.modelVersion.contains(QStringLiteral("MC")) ? QStringLiteral("mV") : QStringLiteral("uA");
    values[CalFields::LoggerSerial] = header.serialNumber;
    values.twoPoint = record.calType == 1;
    if (withDueDate)
        values[CalFields::CalDue] = record.calDue;
    setBoxes(values);
}

void FrmCalRoutine::CmdComputeCalFactors_Click()
{
    CalBoxes values = boxes();
    ChannelCalRecord &record = m_p.connection.header.channel.at(m_calChannel);
    const CalComputation::Result result =
        CalComputation::compute(values, record.sensitivity.value, m_computed.at(m_calChannel));
    setBoxes(values);
    for (int number : {CalFields::ScOutputAt0, CalFields::ScOutputAt100, CalFields::Sensitivity})
        CalFields::setRecordText(record, number, CalNumbers::generalText(CalNumbers::value(values[number])));
    showOutputColour(CalFields::ScOutputAt0, false);
    showOutputColour(CalFields::ScOutputAt100, false);
    if (result.clipsLow) {
        m_p.dialogs.Message_Box(QStringLiteral("Channel will clip LOW data--Compare Calculation Results with EU at A"),
                                Dialogs::OkOnly, ComputeTitle);
        showOutputColour(CalFields::ScOutputAt0, true);
    }
    if (result.clipsHigh) {
        m_p.dialogs.Message_Box(QStringLiteral("Channel will clip HIGH data--Compare Calculation Results with EU at B"),
                                Dialogs::OkOnly, ComputeTitle);
        showOutputColour(CalFields::ScOutputAt100, true);
    }
}

void FrmCalRoutine::showOutputColour(int number, bool clips)
{
    QLineEdit *output = box(number);
    QPalette palette = output->palette();
    palette.setColor(QPalette::Text, clips ? Red : Green);
    output->setPalette(palette);
    output->update();
}

void FrmCalRoutine::CmdSave_Click()
{
    CalBoxes values = boxes();
    const bool written = m_write.save(m_calChannel, values, m_computed.at(m_calChannel), today());
    // The due date filled in for an empty box shows, written or not.
    m_ui->TxtCalDueDate->setText(values[CalFields::CalDue]);
    if (!written) {
        m_ui->PgbReadHeader->hide();
        return;
    }
    m_calChangesPending = false;
    done(QDialog::Accepted);
    if (m_p.channelSaved)
        m_p.channelSaved();
    m_ui->PgbReadHeader->hide();
}

// Every box against the record it came from; the check box against the
// calibration type.
bool FrmCalRoutine::changesPending() const
{
    const LoggerHeader &header = m_p.connection.header;
    const ChannelCalRecord &record = header.channel.at(m_calChannel);
    const CalBoxes values = boxes();
    for (int number = CalFields::CalDue; number < CalFields::CalType; ++number) {
        const QString stored = number == CalFields::LoggerSerial ? header.serialNumber
                                                                 : CalFields::recordText(record, number);
        if (values[number] != stored)
            return true;
    }
    return values.twoPoint != (record.calType == 1);
}

void FrmCalRoutine::CmdExitNoSave_Click()
{
    m_calChangesPending = changesPending();
    if (m_calChangesPending) {
        const int answer = m_p.dialogs.Message_Box(
            QStringLiteral("Do you want to save your changes?\r\n\r\nClick Yes to Save, or\r\nClick No  to Exit without saving."),
            Dialogs::YesNo, QStringLiteral("Save Changes?"));
        m_calChangesPending = false;
        if (answer == Dialogs::Yes) {
            CmdSave_Click();
            return;
        }
    }
    done(QDialog::Rejected);
    m_calChangesPending = false;
    m_p.dialogs.setBusy(false);
}

void FrmCalRoutine::cmdFactoryDefaults_Click()
{
    m_write.factoryReset(validatedChannelIndex());
}

void FrmCalRoutine::cmdSaveCurrent_Click()
{
    CalBoxes values = boxes();
    m_clipboard.save(values, today());
    setBoxes(values);
}

void FrmCalRoutine::cmdRecallLast_Click()
{
    CalBoxes values = boxes();
    m_clipboard.recall(values);
    setBoxes(values);
}

void FrmCalRoutine::cmdSaveToFile_Click()
{
    CalBoxes values = boxes();
    m_p.files.saveSingleChannel(values);
    // An empty due date was given two days ahead.
    setBoxes(values);
}

void FrmCalRoutine::cmdGetFromFile_Click()
{
    CalBoxes values = boxes();
    if (m_p.files.loadSingleChannel(values))
        setBoxes(values);
}

// The channel as the boxes show it, typed values and all.
void FrmCalRoutine::cmdPrintSettings_Click()
{
    CalSettingsReport::print(m_p.printer, boxes(), m_p.now ? m_p.now() : QDateTime::currentDateTime());
}

bool FrmCalRoutine::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the channel box loads the channel it names, typed values or
    // not; a box or another window taking the focus is not leaving it.
    if (watched == m_ui->TxtSensorNum && event->type() == QEvent::FocusOut && !m_loading) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            loadChannel();
    }
    return QDialog::eventFilter(watched, event);
}

QDate FrmCalRoutine::today() const
{
    return m_p.today ? m_p.today() : QDate::currentDate();
}
