#include "tests/console/MainWindowFixture.h"

#include "console/DefaultsTab.h"

#include <QDir>
#include <QTest>

class DefaultsFields : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        loadConfigured();
    }
};

TEST_F(DefaultsFields, EachFieldIsSavedTheMomentItChanges)
{
    Ui::FrmStartup &ui = window->ui();
    ui.chkRAW->click();
    EXPECT_EQ(stored("chkRAW"), "1");
    ui.chkTidy->click();
    EXPECT_EQ(stored("TidyExport"), "0");
    ui.chkTidy->click();
    EXPECT_EQ(stored("TidyExport"), "1");
    ui.ChkAutoBaud->click();
    EXPECT_EQ(stored("chkAutoBaud"), "0");

    ui.MebLocCode->setText("q");
    EXPECT_EQ(stored("LocCode"), "Q") << "the location code is one upper-case letter";
    EXPECT_EQ(window->state().locCode, "Q");

    const QString other = dir.filePath("Elsewhere");
    ui.TxtDir->setText(other);
    EXPECT_EQ(stored("DefaultPath"), other);
    EXPECT_EQ(window->state().defaultPath, other);

}

TEST_F(DefaultsFields, TypedRealTimePositionsAreSavedAndShown)
{
    Ui::FrmStartup &ui = window->ui();
    int refreshed = 0;
    window->defaults().setPositionHook([&](int position) { refreshed = position; });
    QLineEdit *fields[] = {ui.txtRegChanPosition1, ui.txtRegChanPosition2,
                           ui.txtRegChanPosition3, ui.txtRegChanPosition4};
    for (int position = 1; position <= 4; ++position) {
        QLineEdit *field = fields[position - 1];
        field->selectAll();
        QTest::keyClicks(field, QString::number(position + 4));
        EXPECT_EQ(stored(QStringLiteral("RTposition%1").arg(position)), QString::number(position + 4));
        EXPECT_EQ(refreshed, position);
    }
    QTest::keyClick(ui.txtRegChanPosition2, Qt::Key_Backspace);
    EXPECT_EQ(stored("RTposition2"), "");
}

TEST_F(DefaultsFields, StartDelayIsValidatedWhenLeft)
{
    const struct
    {
        const char *typed;
        const char *kept;
        const char *message;
        int seconds;
    } cases[] = {
        {"300", "254", "Entry must be less than 255.", 254},
        {"0.5", "1", "Entry must be greater than one.", 1},
        {"abc", "1", "Entry must be numeric.", 1},
        {"20", "20", nullptr, 20},
        {"2.5", "2.5", nullptr, 2},
    };
    for (const auto &c : cases) {
        const size_t boxes = dialogs.shown().size();
        if (c.message)
            dialogs.expect("Wait Period");
        window->ui().txtWaits->setText(c.typed);
        window->defaults().txtWaits_LostFocus();
        EXPECT_EQ(window->ui().txtWaits->text(), c.kept) << c.typed;
        EXPECT_EQ(stored("WaitPeriod"), c.kept) << c.typed;
        EXPECT_EQ(window->state().waitSeconds, c.seconds) << c.typed;
        if (c.message) {
            ASSERT_EQ(dialogs.shown().size(), boxes + 1) << c.typed;
            EXPECT_EQ(dialogs.shown().back().text, c.message);
        }
    }
}

TEST(DefaultsTab, FolderListStartsOnTheDataFoldersOwnDrive)
{
    const struct
    {
        const char *folder;
        bool drives;
        const char *root;
    } cases[] = {
        {"D:\\LoggerData", true, "D:/"},
        {"e:/Field/Data", true, "E:/"},
        {"C:\\", true, "C:/"},
        {"\\\\server\\share\\LoggerData", true, "//server/share/"},
        {"//server/share", true, "//server/share/"},
        {"/home/tech/LoggerData", false, "/"},
        {"/", false, "/"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DefaultsTab::driveRootOf(QString::fromLatin1(c.folder), c.drives), c.root) << c.folder;
}
