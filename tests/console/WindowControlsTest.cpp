#include "console/MainTab.h"
#include "tests/console/MainWindowFixture.h"

#include "console/frmComm.h"
#include "console/frmDownloadNotes.h"
#include "console/frmEnterPassword.h"
#include "console/frmFactoryPassword.h"
#include "console/frmSetPassword.h"
#include "ui_frmComm.h"
#include "ui_PasswordPrompt.h"
#include "ui_frmDownloadNotes.h"
#include "ui_frmSetPassword.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QMenu>

namespace {

// Counts the receivers of a signal from outside the object, which QObject
// keeps to itself and its subclasses.
struct SignalProbe : QObject
{
    static bool connected(const QObject *object, const char *signal)
    {
        return (object->*&SignalProbe::receivers)(signal) > 0;
    }
};

bool doesSomething(const QAbstractButton *button)
{
    return SignalProbe::connected(button, SIGNAL(clicked(bool)))
        || SignalProbe::connected(button, SIGNAL(toggled(bool)))
        || SignalProbe::connected(button, SIGNAL(pressed()))
        || SignalProbe::connected(button, SIGNAL(released()));
}

// Controls that act although nothing listens to their signals; a control
// goes here only with the reason it is not silent.
const QStringList HandledOtherwise{
    // The CSV file option: the download reads the box when it starts.
    QStringLiteral("ChkCSV"),
    // The Cal Data Notes choice: the report reads it when the dialog closes.
    QStringLiteral("optWhereToPrint0"),
    QStringLiteral("optWhereToPrint1"),
    QStringLiteral("optWhereToPrint2"),
    // The remote display box: Initialize reads it when it runs.
    QStringLiteral("chkRemoteDisplay"),
};

QStringList silentButtons(const QWidget *window)
{
    QStringList silent;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isEnabled() && !doesSomething(button)
            && !HandledOtherwise.contains(button->objectName()))
            silent << button->objectName() + " \"" + button->text() + "\"";
    }
    return silent;
}

QStringList silentActions(const QWidget *window)
{
    QStringList silent;
    for (const QAction *action : window->findChildren<QAction *>()) {
        if (action->isSeparator() || action->menu() || !action->isEnabled())
            continue;
        if (!SignalProbe::connected(action, SIGNAL(triggered(bool)))
            && !SignalProbe::connected(action, SIGNAL(toggled(bool))))
            silent << action->objectName() + " \"" + action->text() + "\"";
    }
    return silent;
}

} // namespace

class WindowControls : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        loadConfigured();
        window->ui().CmdLogOn->click();
    }
};

TEST_F(WindowControls, EveryEnabledButtonOfTheMainWindowDoesSomething)
{
    ASSERT_GT(window->findChildren<QAbstractButton *>().size(), 20);
    EXPECT_EQ(silentButtons(window.get()), QStringList());
    EXPECT_EQ(silentActions(window.get()), QStringList());
}

TEST_F(WindowControls, EveryEnabledButtonOfTheCommunicationsWindowDoesSomething)
{
    ASSERT_GT(window->comm().findChildren<QAbstractButton *>().size(), 10);
    EXPECT_EQ(silentButtons(&window->comm()), QStringList());
}

TEST_F(WindowControls, ControlsStillToComeStayDisabledAfterLogOn)
{
    const Ui::FrmStartup &ui = window->ui();
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui.CmdStopLogging, ui.OptUseLast, ui.cmdSetDates}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(ui.OptMins->isChecked()) << "the stored unit is still shown";

    // Neither changing tabs nor the Defaults tab's round trip wakes them.
    window->ui().SSTab1->setCurrentIndex(MainTab::Defaults);
    window->ui().SSTab1->setCurrentIndex(MainTab::Setup);
    EXPECT_FALSE(ui.CmdStopLogging->isEnabled());
    EXPECT_TRUE(ui.chkRemoteDisplay->isEnabled()) << "Initialize reads it, so it is offered";
    EXPECT_TRUE(ui.CmdInitialize->isEnabled()) << "Initialize works, so it is offered";
    EXPECT_TRUE(ui.cmdLgrStatus->isEnabled()) << "Reload works, so it is offered";
}

// Download is offered on the Data Logger tab; the Setup tab's own Download
// and Cancel Download only while they have something to do.
TEST_F(WindowControls, DownloadIsOfferedAfterLogOn)
{
    const Ui::FrmStartup &ui = window->ui();
    EXPECT_TRUE(ui.CmdDownload->isEnabled());
    EXPECT_TRUE(window->comm().ui().ChkCSV->isEnabled());
    EXPECT_TRUE(window->comm().csvOption()) << "the CSV option is on at every start";
    EXPECT_TRUE(ui.CmdDwnLoadData->isHidden());
    EXPECT_FALSE(ui.CmdDwnLoadData->isEnabled());
    EXPECT_TRUE(ui.cmdCancelDownload->isHidden());
}

// What a screen reader announces: every button by its caption, every field
// by the label it belongs to.
TEST_F(WindowControls, EveryControlHasTheNameAScreenReaderReads)
{
    QStringList unnamed;
    frmDownloadNotes notes;
    for (QWidget *window : {static_cast<QWidget *>(this->window.get()),
                            static_cast<QWidget *>(&this->window->comm()), static_cast<QWidget *>(&notes)}) {
        for (QWidget *control : window->findChildren<QWidget *>()) {
            const bool named = control->inherits("QAbstractButton") || control->inherits("QLineEdit")
                || control->inherits("QComboBox") || control->inherits("QAbstractSpinBox")
                || control->inherits("QTextEdit") || control->inherits("QPlainTextEdit");
            if (!named || control->objectName().startsWith("qt_"))
                continue; // Qt's own helpers, such as the menu bar's overflow button
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
            if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << control->objectName();
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
}

TEST_F(WindowControls, TheSetupTabsOptionsWorkAfterLogOn)
{
    const Ui::FrmStartup &ui = window->ui();
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui.OptHrs, ui.OptMins, ui.OptSecs, ui.OptMonitorCh1, ui.OptMonitorCh8, ui.OptMonitorOff,
             ui.OptStartNow, ui.cmdLowPower, ui.TxtScanPeriod, ui.TxtProjIdent}) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
}

TEST_F(WindowControls, SetupFieldsAreNamedByTheirLabels)
{
    const Ui::FrmStartup &ui = window->ui();
    const std::pair<QLabel *, QWidget *> buddies[] = {
        {ui.lblProjIdentCaption, ui.TxtProjIdent},
        {ui.lblScanPeriodCaption, ui.TxtScanPeriod},
        {ui.lblSetCalIntCaption, ui.TxtSetCalInt},
    };
    for (const auto &[label, field] : buddies) {
        EXPECT_EQ(label->buddy(), field) << field->objectName().toStdString();
        EXPECT_EQ(field->accessibleName(), label->text());
    }
    for (QAbstractButton *option : std::initializer_list<QAbstractButton *>{
             ui.OptHrs, ui.OptMins, ui.OptSecs, ui.OptMonitorCh3, ui.OptMonitorOff, ui.OptStartNow,
             ui.OptUseLast, ui.cmdLowPower, ui.chkRemoteDisplay}) {
        EXPECT_EQ(option->accessibleName(), option->text()) << option->objectName().toStdString();
    }
}

TEST_F(WindowControls, DownloadFieldsAreNamedByTheirLabels)
{
    const Ui::FrmStartup &ui = window->ui();
    frmDownloadNotes notes;
    const std::pair<QLabel *, QWidget *> buddies[] = {
        {ui.lblProgressBarDataCaption, ui.ProgressBarData},
        {ui.lblBytesRemainingCaption, ui.lblBytesRemaining},
        {ui.lblPointerCaption, ui.lblPointer},
        {notes.ui().lblDownloadNotesCaption, notes.ui().txtDownloadNotes},
    };
    for (const auto &[label, field] : buddies) {
        EXPECT_EQ(label->buddy(), field) << field->objectName().toStdString();
        EXPECT_EQ(field->accessibleName(), label->text());
    }
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             ui.CmdDwnLoadData, ui.cmdCancelDownload, notes.ui().cmdOK}) {
        EXPECT_EQ(button->accessibleName(), button->text()) << button->objectName().toStdString();
    }
}

TEST_F(WindowControls, ThePasswordWindowsNameEveryControlAndEveryButtonActs)
{
    frmEnterPassword calibration(QStringLiteral("qqq"), dialogs);
    frmFactoryPassword factory(dialogs);
    frmSetPassword change(startup, dialogs);
    std::vector<std::pair<QLabel *, QWidget *>> buddies;
    for (PasswordPrompt *prompt : {static_cast<PasswordPrompt *>(&calibration),
                                   static_cast<PasswordPrompt *>(&factory)}) {
        EXPECT_EQ(silentButtons(prompt), QStringList());
        buddies.emplace_back(prompt->ui().lblPasswordCaption, prompt->ui().txtPassword);
        for (QAbstractButton *button : {prompt->ui().cmdOK, prompt->ui().cmdCancel})
            EXPECT_EQ(button->accessibleName(), button->text());
    }
    Ui::frmSetPassword &ui = change.ui();
    // Both stages' buttons: the hidden ones act when they are offered.
    EXPECT_EQ(silentButtons(&change), QStringList());
    buddies.insert(buddies.end(), {{ui.lblOldPassword, ui.txtOldPassword},
                                   {ui.lblNewPassword, ui.txtNewPassword},
                                   {ui.lblReenterNewPassword, ui.txtReenterNewPassword}});
    for (QAbstractButton *button : {ui.cmdOldOK, ui.cmdChangeOK, ui.cmdCancelChange})
        EXPECT_EQ(button->accessibleName(), button->text());
    const Ui::FrmStartup &main = window->ui();
    buddies.insert(buddies.end(), {{main.lblPasswordAdminCaption, main.TxtAdminPassword},
                                   {main.lblPasswordOrgan4Caption, main.TxtOrganPass4},
                                   {main.lblPasswordDepot1Caption, main.TxtDepotPass1}});
    for (const auto &[label, field] : buddies) {
        EXPECT_EQ(label->buddy(), field) << field->objectName().toStdString();
        EXPECT_EQ(field->accessibleName(), label->text()) << field->objectName().toStdString();
    }
    EXPECT_EQ(main.cmdChangePassword->accessibleName(), main.cmdChangePassword->text());
    EXPECT_TRUE(main.cmdChangePassword->isEnabled());
    EXPECT_TRUE(main.cmdCallFactory->isEnabled());
}
