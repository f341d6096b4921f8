#include "console/FactoryPage.h"

#include "logger/EventCapture.h"
#include "logger/FactoryFields.h"
#include "logger/FunctionsSubs.h"
#include "logger/LoggerHeader.h"
#include "logger/MemoryChips.h"
#include "ui_FactoryPage.h"

namespace {

void select(QListWidget *list, int row)
{
    list->setCurrentRow(row >= 0 && row < list->count() ? row : -1);
}

int selected(const QListWidget *list)
{
    return list->currentRow();
}

QString hexAsDecimal(const QString &hex)
{
    bool ok = false;
    const quint32 value = hex.toUInt(&ok, 16);
    return ok ? QString::number(value) : hex;
}

// The memory field holds bytes in decimal; anything else is passed on as
// typed, so the write's own check names it.
QString decimalAsHex(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value >= 0 && value <= 0xFFFFFF ? fnHex6(qint32(value)) : text.trimmed();
}

} // namespace

FactoryPage::FactoryPage(QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::FactoryPage>())
{
    m_ui->setupUi(this);
    fillLists();
}

FactoryPage::~FactoryPage() = default;

void FactoryPage::fillLists()
{
    for (int chips = 1; chips <= MemoryChips::MaxChips; ++chips)
        m_ui->lstChips->addItem(QString::number(chips));
    for (int kilobits : MemoryChips::typeKilobits())
        m_ui->lstMemoryType->addItem(QString::number(kilobits));
}

void FactoryPage::showFields(const FactoryFields &f, const LoggerHeader &header)
{
    Ui::FactoryPage &ui = *m_ui;
    ui.lstHdrModel->clear();
    ui.lstHdrModel->addItem(f.modelVersion);
    select(ui.lstHdrModel, 0);
    ui.txtModVersion->setText(f.modelVersion);
    ui.txtHdrSerial->setText(f.serialNumber);
    ui.txtHdrSigConID->setText(f.sigConId);
    ui.txtHdrSigConSN->setText(f.sigConSn);
    ui.txtHdrEngineID->setText(f.engineId);
    ui.txtHdrEngineSN->setText(f.engineSn);
    ui.txtHdrChans->setText(QString::number(f.installedChannels));
    ui.txtHdrResolution->setText(QString::number(f.adResolution));
    ui.txtMemInstalled->setText(hexAsDecimal(f.memoryInstalledHex));
    ui.lblMemoryHex->setText(f.memoryInstalledHex + QStringLiteral("h"));
    ui.txtHdrHeaderVer->setText(header.headerVersion);
    ui.txtHdrFirmware->setText(f.firmwareVersion);
    select(ui.lstChips, f.memoryChips - 1);
    select(ui.lstMemoryType, f.memoryTypeCode);
    ui.txtStartPtr->setText(f.startPointer);
    ui.txtVrefLOvolts->setText(f.referenceLow);
    ui.txtVrefHIvolts->setText(f.referenceHigh);
    ui.txtTcoreOffset->setText(f.tcoreOffset);
    ui.txtTcoreSlope->setText(f.tcoreSlope);
    ui.txtMSP430->setText(f.controllerId);
    ui.lblScanInt->setText(QString::number(header.scanPeriod));
}

FactoryFields FactoryPage::fields(const FactoryFields &base) const
{
    const Ui::FactoryPage &ui = *m_ui;
    FactoryFields f = base;
    f.modelVersion = ui.txtModVersion->text();
    f.serialNumber = ui.txtHdrSerial->text();
    f.sigConId = ui.txtHdrSigConID->text();
    f.sigConSn = ui.txtHdrSigConSN->text();
    f.engineId = ui.txtHdrEngineID->text();
    f.engineSn = ui.txtHdrEngineSN->text();
    f.installedChannels = ui.txtHdrChans->text().trimmed().toInt();
    f.adResolution = ui.txtHdrResolution->text().trimmed().toInt();
    f.memoryInstalledHex = decimalAsHex(ui.txtMemInstalled->text());
    f.firmwareVersion = ui.txtHdrFirmware->text();
    f.memoryChips = selected(ui.lstChips) + 1;
    f.memoryTypeCode = qMax(0, selected(ui.lstMemoryType));
    f.memoryTypeKilobits = ui.lstMemoryType->currentItem()
        ? ui.lstMemoryType->currentItem()->text().toInt() : 0;
    f.startPointer = ui.txtStartPtr->text();
    f.referenceLow = ui.txtVrefLOvolts->text();
    f.referenceHigh = ui.txtVrefHIvolts->text();
    f.rawSupplyLimit = ui.txtVrawLimit->text();
    f.batteryLimit = ui.txtVbatLimit->text();
    f.firstSettle = ui.txtV1Settle->text();
    f.secondSettle = ui.txtV2Settle->text();
    f.tcoreOffset = ui.txtTcoreOffset->text();
    f.tcoreSlope = ui.txtTcoreSlope->text();
    f.controllerId = ui.txtMSP430->text();
    return f;
}

void FactoryPage::showLiveBlock(const LiveBlockValues &live)
{
    Ui::FactoryPage &ui = *m_ui;
    ui.txtEEProm->setText(live.eepromMarker.hex);
    ui.txtMSByte->setText(live.memoryByte.hex);
    ui.txtEvNxtSamp->setText(live.nextSample.decimal());
    ui.txtEventWaits->setText(live.eventWaits.decimal());
    ui.txtEventScans->setText(live.eventScans.decimal());
    ui.txtEventChans->setText(live.eventChannels.hex);
    ui.txtEventPtr->setText(live.eventPointer.decimal());
    ui.txtEventPtrHex->setText(live.eventPointer.hex);
    ui.lblCurrentPtr->setText(live.active.pointer.hex);
}

void FactoryPage::showConnection(const QStringList &firstLines, const QString &statusText)
{
    m_ui->lblFirstLines->setText(firstLines.join(QLatin1Char('\n')));
    m_ui->lblStatusAtConnection->setText(statusText);
}

void FactoryPage::clearModelList()
{
    m_ui->lstHdrModel->clear();
}

QList<QWidget *> FactoryPage::loggerFields() const
{
    const Ui::FactoryPage &ui = *m_ui;
    return {ui.txtModVersion, ui.txtHdrSerial, ui.txtHdrSigConID, ui.txtHdrSigConSN,
            ui.txtHdrEngineID, ui.txtHdrEngineSN, ui.txtHdrChans, ui.txtHdrResolution,
            ui.txtMemInstalled, ui.txtHdrHeaderVer, ui.txtHdrFirmware, ui.lblMemoryHex,
            ui.txtVrefLOvolts, ui.txtVrefHIvolts, ui.txtVrawLimit, ui.txtVbatLimit,
            ui.txtV1Settle, ui.txtV2Settle, ui.lblVbatVal, ui.lblTcoreVal, ui.txtTcoreOffset,
            ui.txtTcoreSlope, ui.txtMSP430, ui.lblLastReadTime, ui.lblLastReadInterval,
            ui.lblLastReadTime2, ui.lblScanInt, ui.txtLastReadTime, ui.txtReadData,
            ui.txtReadAddr, ui.txtMem, ui.TxtTexttoSend, ui.txtEEProm, ui.txtMSByte,
            ui.txtEvNxtSamp, ui.txtEventWaits, ui.txtEventScans, ui.txtEventChans,
            ui.txtEventPtr, ui.txtEventPtrHex, ui.lblEventScanNumb, ui.lblCurrentpScanNumb,
            ui.lblPI, ui.lblCurrentPtr};
}

void FactoryPage::subClearFactoryDisplay()
{
    for (QWidget *field : loggerFields()) {
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->clear();
        else if (auto *label = qobject_cast<QLabel *>(field))
            label->clear();
    }
    m_ui->txtHeaderNotes->clear();
    for (QListWidget *list : {m_ui->lstHdrModel, m_ui->lstChips, m_ui->lstMemoryType})
        list->setCurrentRow(-1);
}
