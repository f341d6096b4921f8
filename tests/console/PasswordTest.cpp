#include "tests/console/MainWindowFixture.h"

#include "console/AccessControl.h"
#include "console/MainTab.h"
#include "console/frmComm.h"
#include "console/frmEnterPassword.h"
#include "console/frmFactoryPassword.h"
#include "console/frmSetPassword.h"
#include "ui_PasswordPrompt.h"
#include "ui_frmSetPassword.h"

#include <QTest>
#include <functional>

namespace {

const QString IncorrectText = QStringLiteral(
    "The password you entered is incorrect.\r\n\r\nPlease reenter your password to continue\ror select Cancel.");

// Clicks into the field, as the operator does, and types.
void type(QLineEdit *field, const QString &text)
{
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, text);
}

} // namespace

// The password windows, run through the window's own buttons, with the
// operator's typing and clicks inside each modal window.
class Passwords : public MainWindowFixture
{
protected:
    void SetUp() override { loadConfigured(); }

    Ui::FrmStartup &ui() { return window->ui(); }
    AccessControl &access() { return window->access(); }

    // The next modal windows must be of type Window; each is shown, `operate`
    // does what the operator does in it, which must close it.
    template<class Window>
    void whenAsked(std::function<void(Window &)> operate)
    {
        dialogs.onModal([this, operate](QObject *object) {
            ++windowsOpened;
            auto *asked = qobject_cast<Window *>(object);
            if (!asked) {
                ADD_FAILURE() << "an unexpected window: " << object->objectName().toStdString();
                return 0;
            }
            asked->show();
            operate(*asked);
            EXPECT_TRUE(asked->isHidden()) << "the window was left open";
            asked->hide();
            return asked->result();
        });
    }
    // No modal window may open from here on.
    void neverAsked()
    {
        dialogs.onModal([](QObject *object) {
            ADD_FAILURE() << "a window was opened: " << object->objectName().toStdString();
            return 0;
        });
    }
    // The prompt's answer to one typed password; a wrong one is reported,
    // leaves the prompt open with the field emptied and focused, and is then
    // cancelled.
    template<class Prompt>
    void typeIntoPrompt(const QString &typed, bool right)
    {
        if (!right)
            dialogs.expect(QStringLiteral("Reenter Password"));
        whenAsked<Prompt>([this, typed, right](Prompt &prompt) {
            QLineEdit *field = prompt.ui().txtPassword;
            EXPECT_EQ(field->echoMode(), QLineEdit::Password);
            EXPECT_EQ(prompt.focusWidget(), field) << "the field has the focus from the start";
            EXPECT_TRUE(field->text().isEmpty());
            type(field, typed);
            prompt.ui().cmdOK->click();
            if (right)
                return;
            EXPECT_FALSE(prompt.isHidden()) << "a wrong password never closes the prompt";
            EXPECT_TRUE(field->text().isEmpty());
            EXPECT_EQ(prompt.focusWidget(), field);
            prompt.ui().cmdCancel->click();
        });
    }
    void expectIncorrectBox()
    {
        ASSERT_EQ(dialogs.shown().size(), 1u);
        const ScriptedDialogs::Box &box = dialogs.shown().front();
        EXPECT_EQ(box.text, IncorrectText);
        EXPECT_EQ(box.buttons, Dialogs::OkOnly);
        EXPECT_EQ(box.icon, Dialogs::Exclamation);
    }

    int windowsOpened = 0;
};

struct PromptCase
{
    const char *stored; // nullptr: a fresh store
    const char *typed;
    bool accepted;
};

void PrintTo(const PromptCase &c, std::ostream *out)
{
    *out << "stored " << (c.stored ? '"' + std::string(c.stored) + '"' : std::string("(default)"))
         << ", typed \"" << c.typed << '"' << (c.accepted ? ", accepted" : ", refused");
}

class CalibrationPrompt : public Passwords, public ::testing::WithParamInterface<PromptCase>
{
protected:
    void SetUp() override
    {
        if (GetParam().stored)
            store(QStringLiteral("Password"), QString::fromUtf8(GetParam().stored));
        loadConfigured();
        ui().CmdLogOn->click();
        // The Cal Data tab stays selected only while a logger is connected.
        connection.state.loggerConnected = true;
        ui().SSTab1->setCurrentIndex(MainTab::Help);
    }
};

TEST_P(CalibrationPrompt, TakesOnlyTheStoredPasswordExactly)
{
    const PromptCase &c = GetParam();
    typeIntoPrompt<frmEnterPassword>(QString::fromUtf8(c.typed), c.accepted);

    EXPECT_EQ(access().askCalibrationPassword(), c.accepted);

    EXPECT_EQ(windowsOpened, 1);
    EXPECT_EQ(window->state().passwordOK, c.accepted);
    EXPECT_FALSE(window->state().factoryMode);
    if (!c.accepted)
        expectIncorrectBox();
    else
        EXPECT_TRUE(dialogs.shown().empty());
    // Cancel takes the operator to the calibration data; a right password
    // leaves the calibration command to go on where it is.
    EXPECT_EQ(ui().SSTab1->currentIndex(), c.accepted ? MainTab::Help : MainTab::CalData);
}

INSTANTIATE_TEST_SUITE_P(Cases, CalibrationPrompt, ::testing::Values(
    PromptCase{nullptr, "qqq", true},   // the default of a fresh store
    PromptCase{nullptr, "QQQ", false},  // letter case counts
    PromptCase{nullptr, "qqq ", false},
    PromptCase{nullptr, "", false},
    PromptCase{nullptr, "wkx", false},  // the factory password is not the calibration password
    PromptCase{"Cal-7", "Cal-7", true},
    PromptCase{"Cal-7", "qqq", false},  // a stored password replaces the default
    PromptCase{"", "", true},           // an empty password takes an empty field
    PromptCase{"", "x", false}));

TEST_F(Passwords, TheCalibrationPasswordIsAskedOnceARun)
{
    typeIntoPrompt<frmEnterPassword>(QStringLiteral("qqq"), true);
    ASSERT_TRUE(access().askCalibrationPassword());

    neverAsked();
    EXPECT_TRUE(access().askCalibrationPassword());
    EXPECT_TRUE(access().passwordOK());
}

TEST_F(Passwords, AWrongPasswordIsAskedAgainUntilRight)
{
    dialogs.expect(QStringLiteral("Reenter Password"));
    dialogs.expect(QStringLiteral("Reenter Password"));
    whenAsked<frmEnterPassword>([](frmEnterPassword &prompt) {
        QLineEdit *field = prompt.ui().txtPassword;
        type(field, QStringLiteral("qq"));
        prompt.ui().cmdOK->click();
        // Enter presses OK.
        type(field, QStringLiteral("wkx"));
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_FALSE(prompt.isHidden());
        type(field, QStringLiteral("qqq"));
        prompt.ui().cmdOK->click();
        EXPECT_TRUE(field->text().isEmpty()) << "the accepted password is not left behind";
    });

    EXPECT_TRUE(access().askCalibrationPassword());
    EXPECT_EQ(windowsOpened, 1);
    EXPECT_EQ(dialogs.shown().size(), 2u);
}

TEST_F(Passwords, EscapeCancelsTheCalibrationPrompt)
{
    ui().CmdLogOn->click();
    connection.state.loggerConnected = true;
    whenAsked<frmEnterPassword>([](frmEnterPassword &prompt) {
        type(prompt.ui().txtPassword, QStringLiteral("qq"));
        QTest::keyClick(prompt.ui().txtPassword, Qt::Key_Escape);
    });
    EXPECT_FALSE(access().askCalibrationPassword());
    EXPECT_FALSE(access().passwordOK());
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::CalData);
}

class FactoryPrompt : public Passwords, public ::testing::WithParamInterface<PromptCase>
{
};

TEST_P(FactoryPrompt, OpensTheCommunicationsWindowForTheFactoryPasswordOnly)
{
    const PromptCase &c = GetParam();
    const int tab = ui().SSTab1->currentIndex();
    typeIntoPrompt<frmFactoryPassword>(QString::fromUtf8(c.typed), c.accepted);

    ui().cmdCallFactory->click();

    EXPECT_EQ(windowsOpened, 1);
    EXPECT_EQ(window->state().factoryMode, c.accepted);
    EXPECT_EQ(window->state().passwordOK, c.accepted);
    EXPECT_EQ(window->comm().isVisible(), c.accepted);
    if (!c.accepted)
        expectIncorrectBox();
    EXPECT_EQ(ui().SSTab1->currentIndex(), tab) << "the factory prompt selects no tab";
}

INSTANTIATE_TEST_SUITE_P(Cases, FactoryPrompt, ::testing::Values(
    PromptCase{nullptr, "wkx", true},
    PromptCase{nullptr, "WKX", false},
    PromptCase{nullptr, "wkx ", false},
    PromptCase{nullptr, "wk", false},
    PromptCase{nullptr, "", false},
    PromptCase{nullptr, "qqq", false})); // the calibration password does not open the factory page

TEST_F(Passwords, TheFactoryPasswordAlsoStandsForTheCalibrationPassword)
{
    typeIntoPrompt<frmFactoryPassword>(QStringLiteral("wkx"), true);
    ui().cmdCallFactory->click();

    neverAsked();
    EXPECT_TRUE(access().askCalibrationPassword());
}

TEST_F(Passwords, AfterTheFactoryPasswordTheButtonHidesAndShowsTheCommunicationsWindow)
{
    typeIntoPrompt<frmFactoryPassword>(QStringLiteral("wkx"), true);
    ui().cmdCallFactory->click();
    ASSERT_TRUE(window->comm().isVisible());

    neverAsked();
    ui().cmdCallFactory->click();
    EXPECT_FALSE(window->comm().isVisible());
    ui().cmdCallFactory->click();
    EXPECT_TRUE(window->comm().isVisible());
    // Closed by its own window button, it is shown again.
    window->comm().close();
    ui().cmdCallFactory->click();
    EXPECT_TRUE(window->comm().isVisible());
    EXPECT_TRUE(access().factoryMode());
}

TEST_F(Passwords, TheCalibrationPasswordDoesNotSpareTheFactoryPassword)
{
    typeIntoPrompt<frmEnterPassword>(QStringLiteral("qqq"), true);
    ASSERT_TRUE(access().askCalibrationPassword());

    // Cancelled, the factory prompt takes nothing away.
    whenAsked<frmFactoryPassword>([](frmFactoryPassword &prompt) { prompt.ui().cmdCancel->click(); });
    ui().cmdCallFactory->click();
    EXPECT_EQ(windowsOpened, 2);
    EXPECT_TRUE(access().passwordOK());
    EXPECT_FALSE(access().factoryMode());
    EXPECT_FALSE(window->comm().isVisible());
}

// The "&f" button is reached by its accelerator on the Defaults tab.
TEST_F(Passwords, AltFOnTheDefaultsTabAsksForTheFactoryPassword)
{
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().SSTab1->setCurrentIndex(MainTab::Defaults);
    EXPECT_EQ(ui().cmdCallFactory->text(), "&f");
    EXPECT_EQ(ui().cmdCallFactory->accessibleName(), "f");

    typeIntoPrompt<frmFactoryPassword>(QStringLiteral("wkx"), true);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
    for (int i = 0; i < 200 && windowsOpened == 0; ++i)
        QTest::qWait(10); // the accelerator's click follows a short animation
    EXPECT_EQ(windowsOpened, 1);
    EXPECT_TRUE(window->comm().isVisible());
}

namespace {

bool offered(QWidget *item)
{
    return item->isVisibleTo(item->window());
}

struct StageView
{
    QString caption;
    bool oldOffered;
    bool newOffered;
};

StageView stageOf(frmSetPassword &change)
{
    Ui::frmSetPassword &ui = change.ui();
    const bool old = offered(ui.txtOldPassword);
    EXPECT_EQ(offered(ui.lblOldPassword), old);
    EXPECT_EQ(offered(ui.cmdOldOK), old);
    const bool fresh = offered(ui.txtNewPassword);
    for (QWidget *item : std::initializer_list<QWidget *>{ui.lblNewPassword, ui.txtReenterNewPassword,
                                                          ui.lblReenterNewPassword, ui.cmdChangeOK})
        EXPECT_EQ(offered(item), fresh) << item->objectName().toStdString();
    return {ui.FrameChangePassword->title(), old, fresh};
}

const QString OldStage = QStringLiteral("Please Enter Your Old Password then Click OK.");
const QString EmptyStage = QStringLiteral("Please Enter new password twice then click OK.");
const QString NewStage = QStringLiteral("Enter new password twice then click OK.");

} // namespace

class ChangePassword : public Passwords
{
protected:
    // Set / Change Calibration Password from the Defaults tab, where the operator is.
    void change(std::function<void(frmSetPassword &)> operate)
    {
        ui().SSTab1->setCurrentIndex(MainTab::Defaults);
        whenAsked<frmSetPassword>(std::move(operate));
        ui().cmdChangePassword->click();
    }
    // Gives the old password and checks the window moves on to the new one.
    static void giveOld(frmSetPassword &change, const QString &old)
    {
        type(change.ui().txtOldPassword, old);
        change.ui().cmdOldOK->click();
        const StageView stage = stageOf(change);
        EXPECT_EQ(stage.caption, NewStage);
        EXPECT_FALSE(stage.oldOffered);
        EXPECT_TRUE(stage.newOffered);
        EXPECT_TRUE(change.ui().txtNewPassword->text().isEmpty());
        EXPECT_EQ(change.focusWidget(), change.ui().txtNewPassword);
    }
    static void giveNew(frmSetPassword &change, const QString &first, const QString &second)
    {
        type(change.ui().txtNewPassword, first);
        type(change.ui().txtReenterNewPassword, second);
        change.ui().cmdChangeOK->click();
    }
};

TEST_F(ChangePassword, AFreshStoreOpensAtTheOldPasswordWithEveryFieldHidingItsText)
{
    change([](frmSetPassword &change) {
        const StageView stage = stageOf(change);
        EXPECT_EQ(stage.caption, OldStage);
        EXPECT_TRUE(stage.oldOffered);
        EXPECT_FALSE(stage.newOffered);
        EXPECT_TRUE(change.ui().txtOldPassword->text().isEmpty());
        EXPECT_EQ(change.focusWidget(), change.ui().txtOldPassword);
        for (QLineEdit *field : {change.ui().txtOldPassword, change.ui().txtNewPassword,
                                 change.ui().txtReenterNewPassword})
            EXPECT_EQ(field->echoMode(), QLineEdit::Password) << field->objectName().toStdString();
        change.ui().cmdCancelChange->click();
    });
    EXPECT_EQ(windowsOpened, 1);
}

TEST_F(ChangePassword, AWrongOldPasswordIsAskedAgain)
{
    dialogs.expect(QStringLiteral("Old Password Incorrect"));
    change([](frmSetPassword &change) {
        type(change.ui().txtOldPassword, QStringLiteral("QQQ"));
        change.ui().cmdOldOK->click();
        EXPECT_EQ(stageOf(change).caption, OldStage);
        EXPECT_FALSE(stageOf(change).newOffered);
        EXPECT_TRUE(change.ui().txtOldPassword->text().isEmpty());
        EXPECT_EQ(change.focusWidget(), change.ui().txtOldPassword);
        EXPECT_FALSE(change.isHidden());
        giveOld(change, QStringLiteral("qqq"));
        change.ui().cmdCancelChange->click();
    });
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Please reenter old password.");
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::OkOnly);
    EXPECT_EQ(stored("Password"), "<none>") << "cancelled, nothing is saved";
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::Defaults);
}

struct NewPasswordCase
{
    const char *first;
    const char *second;
    bool changed;
};

void PrintTo(const NewPasswordCase &c, std::ostream *out)
{
    *out << '"' << c.first << "\" and \"" << c.second << '"' << (c.changed ? ", changed" : ", refused");
}

class NewPassword : public ChangePassword, public ::testing::WithParamInterface<NewPasswordCase>
{
};

TEST_P(NewPassword, IsTakenOnlyWhenTypedTheSameTwice)
{
    const NewPasswordCase &c = GetParam();
    dialogs.expect(c.changed ? QStringLiteral("Password Changed")
                             : QStringLiteral("Password verification failed."));
    change([&c](frmSetPassword &change) {
        giveOld(change, QStringLiteral("qqq"));
        giveNew(change, QString::fromUtf8(c.first), QString::fromUtf8(c.second));
        if (c.changed)
            return;
        EXPECT_FALSE(change.isHidden());
        EXPECT_TRUE(change.ui().txtNewPassword->text().isEmpty());
        EXPECT_TRUE(change.ui().txtReenterNewPassword->text().isEmpty());
        EXPECT_EQ(change.focusWidget(), change.ui().txtNewPassword);
        EXPECT_EQ(stageOf(change).caption, NewStage);
        change.ui().cmdCancelChange->click();
    });

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, c.changed ? QStringLiteral("Your password has been changed.")
                                                 : QStringLiteral("Please reenter new password."));
    EXPECT_EQ(dialogs.shown()[0].buttons, Dialogs::OkOnly);
    EXPECT_EQ(stored("Password"), c.changed ? QString::fromUtf8(c.first) : QStringLiteral("<none>"));
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::Defaults);

    // The calibration prompt asks for the password now stored.
    const QString now = c.changed ? QString::fromUtf8(c.first) : QStringLiteral("qqq");
    typeIntoPrompt<frmEnterPassword>(now, true);
    EXPECT_TRUE(access().askCalibrationPassword());
}

INSTANTIATE_TEST_SUITE_P(Cases, NewPassword, ::testing::Values(
    NewPasswordCase{"Tech-42", "Tech-42", true},
    NewPasswordCase{"", "", true},
    NewPasswordCase{"Tech-42", "tech-42", false}, // letter case counts
    NewPasswordCase{"Tech-42", "Tech-42 ", false},
    NewPasswordCase{"Tech-42", "", false},
    NewPasswordCase{"", "Tech-42", false}));

TEST_F(ChangePassword, TheOldPasswordIsNoLongerTakenAfterAChange)
{
    dialogs.expect(QStringLiteral("Password Changed"));
    change([](frmSetPassword &change) {
        giveOld(change, QStringLiteral("qqq"));
        giveNew(change, QStringLiteral("abc"), QStringLiteral("abc"));
    });
    typeIntoPrompt<frmEnterPassword>(QStringLiteral("qqq"), false);
    EXPECT_FALSE(access().askCalibrationPassword());

    // Nor by the change window itself.
    dialogs.expect(QStringLiteral("Old Password Incorrect"));
    change([](frmSetPassword &change) {
        type(change.ui().txtOldPassword, QStringLiteral("qqq"));
        change.ui().cmdOldOK->click();
        giveOld(change, QStringLiteral("abc"));
        change.ui().cmdCancelChange->click();
    });
}

TEST_F(ChangePassword, AnEmptyPasswordSkipsTheOldPasswordAndTakesAnEmptyField)
{
    dialogs.expect(QStringLiteral("Password Changed"));
    change([](frmSetPassword &change) {
        giveOld(change, QStringLiteral("qqq"));
        giveNew(change, QString(), QString());
    });
    ASSERT_EQ(stored("Password"), "");

    dialogs.expect(QStringLiteral("Password Changed"));
    change([](frmSetPassword &change) {
        const StageView stage = stageOf(change);
        EXPECT_EQ(stage.caption, EmptyStage);
        EXPECT_FALSE(stage.oldOffered);
        EXPECT_TRUE(stage.newOffered);
        EXPECT_EQ(change.focusWidget(), change.ui().txtNewPassword);
        giveNew(change, QStringLiteral("back"), QStringLiteral("back"));
    });
    EXPECT_EQ(stored("Password"), "back");
}

TEST_F(ChangePassword, AnEmptyStoredPasswordIsAcceptedEmptyByThePrompt)
{
    store(QStringLiteral("Password"), QString());
    typeIntoPrompt<frmEnterPassword>(QString(), true);
    EXPECT_TRUE(access().askCalibrationPassword());
}

TEST_F(ChangePassword, CancelPutsTheOperatorBackOnTheDefaultsTab)
{
    ui().CmdLogOn->click();
    // Opened from a keyboard shortcut while another tab was shown.
    ui().SSTab1->setCurrentIndex(MainTab::LogOn);
    whenAsked<frmSetPassword>([](frmSetPassword &change) {
        giveOld(change, QStringLiteral("qqq"));
        type(change.ui().txtNewPassword, QStringLiteral("half"));
        change.ui().cmdCancelChange->click();
    });
    ui().cmdChangePassword->click();
    EXPECT_EQ(ui().SSTab1->currentIndex(), MainTab::Defaults);
    EXPECT_EQ(stored("Password"), "<none>");
}

// The Admin, Organization and Depot passwords: shown from the store at
// start-up, saved as typed, never checked.
TEST_F(Passwords, LevelPasswordsAreShownFromTheStoreAndSavedAsTyped)
{
    struct Case
    {
        QLineEdit *field;
        const char *key;
        QString *memory;
    };
    MainWindowState &state = window->state();
    const Case cases[] = {
        {ui().TxtAdminPassword, "PasswordAdmin", &state.passwordAdmin},
        {ui().TxtOrganPass1, "PasswordOrgan1", &state.passwordOrgan[0]},
        {ui().TxtOrganPass2, "PasswordOrgan2", &state.passwordOrgan[1]},
        {ui().TxtOrganPass3, "PasswordOrgan3", &state.passwordOrgan[2]},
        {ui().TxtOrganPass4, "PasswordOrgan4", &state.passwordOrgan[3]},
        {ui().TxtDepotPass1, "PasswordDepot1", &state.passwordDepot[0]},
        {ui().TxtDepotPass2, "PasswordDepot2", &state.passwordDepot[1]},
        {ui().TxtDepotPass3, "PasswordDepot3", &state.passwordDepot[2]},
        {ui().TxtDepotPass4, "PasswordDepot4", &state.passwordDepot[3]},
    };
    EXPECT_EQ(ui().TxtAdminPassword->text(), "Overseerentry");
    EXPECT_FALSE(ui().SSTab1->isTabEnabled(MainTab::Passwords));
    // Nothing in the program opens the tab; the test does, to type as an operator would.
    ui().SSTab1->setTabEnabled(MainTab::Passwords, true);
    ui().SSTab1->setCurrentIndex(MainTab::Passwords);
    int n = 0;
    for (const Case &c : cases) {
        EXPECT_EQ(c.field->echoMode(), QLineEdit::Password) << c.key;
        EXPECT_EQ(stored(c.key), "<none>") << "showing the stored value saves nothing: " << c.key;
        const QString typed = QStringLiteral("Lv%1").arg(++n);
        QTest::mouseClick(c.field, Qt::LeftButton);
        c.field->selectAll(); // what was there is typed over
        QTest::keyClicks(c.field, typed);
        EXPECT_EQ(stored(c.key), typed) << c.key;
        EXPECT_EQ(*c.memory, typed) << c.key;
        QTest::keyClick(c.field, Qt::Key_Backspace);
        EXPECT_EQ(stored(c.key), typed.chopped(1)) << "every change is saved: " << c.key;
    }
}

TEST_F(Passwords, StoredLevelPasswordsFillTheirFields)
{
    window.reset();
    store(QStringLiteral("PasswordAdmin"), QStringLiteral("boss"));
    store(QStringLiteral("PasswordOrgan3"), QStringLiteral("o3"));
    store(QStringLiteral("passworddepot4"), QStringLiteral("d4")); // keys match without regard to case
    load();
    EXPECT_EQ(ui().TxtAdminPassword->text(), "boss");
    EXPECT_EQ(ui().TxtOrganPass3->text(), "o3");
    EXPECT_EQ(ui().TxtDepotPass4->text(), "d4");
    EXPECT_EQ(ui().TxtOrganPass1->text(), "");
    EXPECT_EQ(window->state().passwordOrgan[2], "o3");
}
