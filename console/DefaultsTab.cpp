#include "console/DefaultsTab.h"

#include "console/MainWindowState.h"
#include "platform/Dialogs.h"
#include "platform/StartupSettings.h"
#include "ui_FrmStartup.h"

#include <QDir>
#include <QFileSystemModel>

DefaultsTab::DefaultsTab(Ui::FrmStartup &ui, MainWindowState &state, Dialogs &dialogs,
                         StartupSettings &settings)
    : QObject(ui.tabDefaults)
    , m_ui(ui)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_folders(new QFileSystemModel(this))
{
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_ui.Dir1->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_ui.Dir1->hideColumn(column);
    for (const QFileInfo &drive : QDir::drives())
        m_ui.Drive1->addItem(QDir::toNativeSeparators(drive.absolutePath()));

    connect(m_ui.chkRAW, &QCheckBox::clicked, this, &DefaultsTab::chkRAW_Click);
    connect(m_ui.chkTidy, &QCheckBox::clicked, this, &DefaultsTab::chkTidy_Click);
    connect(m_ui.ChkAutoBaud, &QCheckBox::clicked, this, &DefaultsTab::ChkAutoBaud_Click);
    connect(m_ui.Drive1, &QComboBox::currentIndexChanged, this, &DefaultsTab::Drive1_Change);
    connect(m_ui.Dir1, &QTreeView::clicked, this, &DefaultsTab::Dir1_Change);
    connect(m_ui.TxtDir, &QLineEdit::textChanged, this, &DefaultsTab::TxtDir_Change);
    connect(m_ui.MebLocCode, &QLineEdit::textChanged, this, &DefaultsTab::MebLocCode_Change);
    QLineEdit *positions[] = {m_ui.txtRegChanPosition1, m_ui.txtRegChanPosition2,
                              m_ui.txtRegChanPosition3, m_ui.txtRegChanPosition4};
    for (int i = 0; i < 4; ++i) {
        connect(positions[i], &QLineEdit::textEdited, this,
                [this, i] { txtRegChanPosition_Change(i + 1); });
    }
    connect(m_ui.txtWaits, &QLineEdit::editingFinished, this, &DefaultsTab::txtWaits_LostFocus);
}

QString DefaultsTab::driveRootOf(const QString &folder, bool pathsHaveDrives)
{
    if (!pathsHaveDrives)
        return QStringLiteral("/");
    const QString path = QString(folder).replace(u'\\', u'/');
    if (path.size() >= 2 && path.at(0).isLetter() && path.at(1) == u':')
        return path.left(2).toUpper() + u'/';
    if (path.startsWith(QLatin1String("//"))) {
        const qsizetype shareAt = path.indexOf(u'/', 2) + 1;
        const qsizetype shareEnd = shareAt > 2 ? path.indexOf(u'/', shareAt) : -1;
        if (shareAt > 3 && shareEnd != shareAt)
            return (shareEnd < 0 ? path : path.left(shareEnd)) + u'/';
    }
    // A path without a drive is on the drive the program runs from.
    return QDir::rootPath();
}

void DefaultsTab::showDataFolder(const QString &folder)
{
    const QString root = driveRootOf(folder);
    const QModelIndex rootIndex = m_folders->setRootPath(root);
    m_ui.Dir1->setRootIndex(rootIndex);
    m_ui.Dir1->setCurrentIndex(m_folders->index(folder));
    const int drive = m_ui.Drive1->findText(QDir::toNativeSeparators(root), Qt::MatchFixedString);
    if (drive >= 0) {
        const QSignalBlocker quiet(m_ui.Drive1);
        m_ui.Drive1->setCurrentIndex(drive);
    }
    m_ui.TxtDir->setText(QDir::toNativeSeparators(folder));
}

void DefaultsTab::chkRAW_Click()
{
    m_settings.save(QStringLiteral("chkRAW"), m_ui.chkRAW->isChecked() ? "1" : "0");
}

// The tidy file, its events table and the metadata beside each download.
void DefaultsTab::chkTidy_Click()
{
    m_settings.save(QStringLiteral("TidyExport"), m_ui.chkTidy->isChecked() ? "1" : "0");
}

void DefaultsTab::ChkAutoBaud_Click()
{
    m_settings.save(QStringLiteral("chkAutoBaud"), m_ui.ChkAutoBaud->isChecked() ? "1" : "0");
}

void DefaultsTab::Drive1_Change()
{
    const QString drive = QDir::fromNativeSeparators(m_ui.Drive1->currentText());
    m_ui.Dir1->setRootIndex(m_folders->setRootPath(drive));
}

void DefaultsTab::Dir1_Change()
{
    const QString path = m_folders->filePath(m_ui.Dir1->currentIndex());
    if (!path.isEmpty())
        m_ui.TxtDir->setText(QDir::toNativeSeparators(path));
}

void DefaultsTab::TxtDir_Change()
{
    m_settings.save(QStringLiteral("DefaultPath"), m_ui.TxtDir->text());
    m_state.defaultPath = m_settings.get(QStringLiteral("DefaultPath"), m_ui.TxtDir->text());
}

void DefaultsTab::MebLocCode_Change()
{
    m_state.locCode = m_ui.MebLocCode->text();
    m_settings.save(QStringLiteral("LocCode"), m_state.locCode);
}

void DefaultsTab::txtRegChanPosition_Change(int position)
{
    QLineEdit *fields[] = {m_ui.txtRegChanPosition1, m_ui.txtRegChanPosition2,
                           m_ui.txtRegChanPosition3, m_ui.txtRegChanPosition4};
    m_settings.save(QStringLiteral("RTposition%1").arg(position), fields[position - 1]->text());
    if (m_positionHook)
        m_positionHook(position);
}

void DefaultsTab::loadWaitPeriod()
{
    m_state.waitPeriodText = m_settings.get(QStringLiteral("WaitPeriod"), QStringLiteral("15"));
    m_ui.txtWaits->setText(m_state.waitPeriodText);
    double seconds = 0;
    // A damaged store must not leave a start delay outside what the field accepts.
    if (!StartupSettings::parseNumber(m_state.waitPeriodText, &seconds) || seconds < 1
        || seconds > 254) {
        m_state.waitPeriodText = QStringLiteral("15");
        m_ui.txtWaits->setText(m_state.waitPeriodText);
        seconds = 15;
    }
    m_state.waitSeconds = qint32(StartupSettings::roundHalfEven(seconds));
}

void DefaultsTab::txtWaits_GotFocus()
{
    loadWaitPeriod();
}

void DefaultsTab::txtWaits_LostFocus()
{
    const QString title = QStringLiteral("Wait Period");
    double seconds = 0;
    QString problem;
    if (!StartupSettings::parseNumber(m_ui.txtWaits->text(), &seconds)) {
        m_ui.txtWaits->setText(QStringLiteral("1"));
        problem = QStringLiteral("Entry must be numeric.");
    } else if (seconds < 1) {
        m_ui.txtWaits->setText(QStringLiteral("1"));
        problem = QStringLiteral("Entry must be greater than one.");
    } else if (seconds > 254) {
        m_ui.txtWaits->setText(QStringLiteral("254"));
        problem = QStringLiteral("Entry must be less than 255.");
    }
    if (!problem.isEmpty()) {
        m_dialogs.Message_Box(problem, Dialogs::OkOnly, title);
        StartupSettings::parseNumber(m_ui.txtWaits->text(), &seconds);
    }
    m_state.waitPeriodText = m_ui.txtWaits->text();
    m_settings.save(QStringLiteral("WaitPeriod"), m_state.waitPeriodText);
    m_state.waitSeconds = qint32(StartupSettings::roundHalfEven(seconds));
    // Taking the focus refills the field from the store, so the corrected
    // value must be stored first.
    if (!problem.isEmpty())
        m_ui.txtWaits->setFocus();
}
