#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

TEST(ScriptedDialogs, AnswersWithAButtonOfTheBox)
{
    const struct
    {
        int buttons;
        std::vector<int> answers;
    } sets[] = {
        {Dialogs::OkOnly, {Dialogs::Ok}},
        {Dialogs::OkCancel, {Dialogs::Ok, Dialogs::Cancel}},
        {Dialogs::AbortRetryIgnore, {Dialogs::Abort, Dialogs::Retry, Dialogs::Ignore}},
        {Dialogs::YesNoCancel, {Dialogs::Yes, Dialogs::No, Dialogs::Cancel}},
        {Dialogs::YesNo, {Dialogs::Yes, Dialogs::No}},
        {Dialogs::RetryCancel, {Dialogs::Retry, Dialogs::Cancel}},
    };
    for (const auto &set : sets) {
        ScriptedDialogs dialogs;
        for (const int answer : set.answers) {
            dialogs.expect("Box", answer);
            EXPECT_EQ(dialogs.Message_Box("text", set.buttons | Dialogs::Question, "Box"), answer);
        }
    }
}

TEST(ScriptedDialogs, AScriptedAnswerTheBoxHasNotFailsTheTest)
{
    ScriptedDialogs dialogs;
    dialogs.expect("Stop Logging message", Dialogs::Yes);
    EXPECT_NONFATAL_FAILURE(dialogs.Message_Box("Stop?", Dialogs::OkCancel, "Stop Logging message"),
                            "is not a button of the box \"Stop Logging message\"");

    dialogs.allow("Halt on Error", Dialogs::Retry);
    EXPECT_NONFATAL_FAILURE(dialogs.Message_Box("err-09", Dialogs::OkOnly, "Halt on Error"),
                            "is not a button of the box \"Halt on Error\"");
}

TEST(ScriptedDialogs, AnExpectedBoxThatNeverCameFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.expect("Invalid EEPROM");
        },
        "the expected box \"Invalid EEPROM\" never came");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.expectFileName("settings.txt");
        },
        "no file dialog asked for the scripted name \"settings.txt\"");
}

TEST(ScriptedDialogs, FileDialogsKeepTheirFolderAndFilter)
{
    ScriptedDialogs dialogs;
    dialogs.expectFileName("/data/cal.txt");
    dialogs.expectFileName("");
    EXPECT_EQ(dialogs.getSaveFileName("Save Settings File", "/data", "TXT Files (*.txt)|*.txt"),
              "/data/cal.txt");
    EXPECT_EQ(dialogs.getOpenFileName("Open", "/elsewhere", "All Files (*.*)|*.*"), "");

    ASSERT_EQ(dialogs.fileDialogs().size(), 2u);
    const ScriptedDialogs::FileDialog &save = dialogs.fileDialogs()[0];
    EXPECT_EQ(save.kind, ScriptedDialogs::FileDialog::Save);
    EXPECT_EQ(save.title, "Save Settings File");
    EXPECT_EQ(save.folder, "/data");
    EXPECT_EQ(save.filter, "TXT Files (*.txt)|*.txt");
    const ScriptedDialogs::FileDialog &open = dialogs.fileDialogs()[1];
    EXPECT_EQ(open.kind, ScriptedDialogs::FileDialog::Open);
    EXPECT_EQ(open.folder, "/elsewhere");
    EXPECT_EQ(open.filter, "All Files (*.*)|*.*");
}
