#include "console/SavedSetup.h"

#include "console/ScanPeriodRules.h"
#include "console/SetupRules.h"
#include "console/SetupState.h"
#include "platform/Dialogs.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

namespace {

constexpr int SelectedCode = 0x40;
constexpr int MonitorCode = 0x80;

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

} // namespace

QString SavedSetup::encode(const Selection &selection)
{
    QString list;
    for (int index = 0; index < 8; ++index) {
        int code = selection.channels[index] ? SelectedCode : 0;
        if (index == 0 && selection.monitorChannel > 0)
            code += MonitorCode + selection.monitorChannel;
        list += QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0')).toUpper();
    }
    return list + QString(16, QLatin1Char('0'));
}

SavedSetup::Selection SavedSetup::decode(const QString &list)
{
    Selection selection;
    for (int index = 0; index < 8; ++index) {
        const QString digits = list.mid(2 * index, 2);
        bool ok = digits.size() == 2;
        for (QChar c : digits)
            ok = ok && isHexDigit(c);
        // Checked digit by digit: the number conversion takes "-1" or " F" too.
        const int code = ok ? digits.toInt(&ok, 16) : 0;
        if (!ok)
            continue;
        selection.channels[index] = code & SelectedCode;
        if (index == 0 && (code & MonitorCode))
            selection.monitorChannel = code & 0x0F;
    }
    return selection;
}

SavedSetup::SavedSetup(const Parts &parts, QObject *parent)
    : QObject(parent)
    , m_p(parts)
{
    connect(m_p.ui.cmdSaveSetup, &QPushButton::clicked, this, &SavedSetup::cmdSaveSetup_Click);
    connect(m_p.ui.cmdLoadDefault, &QPushButton::clicked, this, &SavedSetup::cmdLoadDefault_Click);
}

SavedSetup::Selection SavedSetup::currentSelection() const
{
    Selection selection;
    for (int channel = 1; channel <= 8; ++channel)
        selection.channels[channel - 1] = m_p.setup.channelSelect[channel] == SetupState::Selected;
    selection.monitorChannel = m_p.setup.monitorChannel;
    return selection;
}

void SavedSetup::cmdSaveSetup_Click()
{
    if (m_p.dialogs.Message_Box(QStringLiteral("OK/ENTER to save, \r\nCANCEL/ESC to keep old setup"),
                                Dialogs::OkCancel, QStringLiteral("Save Setup Check"))
        == Dialogs::Cancel)
        return;
    const QString units = m_p.ui.OptHrs->isChecked()   ? QStringLiteral("Hrs")
                          : m_p.ui.OptSecs->isChecked() ? QStringLiteral("Sec")
                                                        : QStringLiteral("Min");
    m_p.settings.save(QStringLiteral("DefaultProjIdent"), m_p.ui.TxtProjIdent->text());
    m_p.settings.save(QStringLiteral("DefaultScanPeriod"), m_p.ui.TxtScanPeriod->text());
    m_p.settings.save(QStringLiteral("DefaultScanUnits"), units);
    m_p.setupRules.setNumberActiveChannels();
    m_p.settings.save(QStringLiteral("DefaultScanlist"), encode(currentSelection()));
}

void SavedSetup::cmdLoadDefault_Click()
{
    const QString project = m_p.settings.get(QStringLiteral("DefaultProjIdent"), QStringLiteral("..."));
    m_p.ui.TxtProjIdent->setText(project);
    m_p.setup.projectIdent = project;
    const QString period = m_p.settings.get(QStringLiteral("DefaultScanPeriod"), QStringLiteral("60"));
    m_p.ui.TxtScanPeriod->setText(period);
    double value = 0;
    m_p.setup.scanPeriodValue = StartupSettings::parseNumber(period, &value) ? value : 0;
    // Keys match without regard to case: a list saved as DefaultScanlist is found here.
    select(decode(m_p.settings.get(QStringLiteral("DefaultScanList"), QString(32, QLatin1Char('0')))));
    const QString units = m_p.settings.get(QStringLiteral("DefaultScanUnits"), QStringLiteral("Min"));
    const ScanPeriodRules::Unit unit = units == QStringLiteral("Hrs")   ? ScanPeriodRules::Unit::Hours
                                       : units == QStringLiteral("Sec") ? ScanPeriodRules::Unit::Secs
                                                                        : ScanPeriodRules::Unit::Minutes;
    ScanPeriodRules &rules = m_p.setupRules.scanPeriod();
    rules.unitOption(unit)->setChecked(true);
    rules.OptUnit_Click(unit);
}

void SavedSetup::select(const Selection &selection)
{
    SetupRules &rules = m_p.setupRules;
    for (int channel = 1; channel <= 8; ++channel) {
        if (rules.isChannelShownSelected(channel) != selection.channels[channel - 1])
            rules.lblActChClick(channel);
    }
    // Clears the unit as any monitor change does; Load Saved chooses it after.
    rules.selectMonitor(selection.monitorChannel);
    rules.setNumberActiveChannels();
}
