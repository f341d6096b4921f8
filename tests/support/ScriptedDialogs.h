#pragma once

#include "platform/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Dialogs for tests: records every box and answers from the test's script.
// A box the script does not expect fails the test (and is answered with its
// last button, the safe way out, so the code under test can go on); so does
// a scripted answer that is not one of the box's buttons, and, when the
// dialogs go away, an expected box or file name that was never asked for.
class ScriptedDialogs : public Dialogs
{
public:
    struct Box
    {
        QString title;
        QString text;
        int buttons = 0;
        int icon = 0;
        int defaultButton = 0;
    };

    struct FileDialog
    {
        enum Kind { Open, Save };
        Kind kind = Open;
        QString title;
        QString folder;
        QString filter;
    };

    ScriptedDialogs() = default;
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs &) = delete;
    ScriptedDialogs &operator=(const ScriptedDialogs &) = delete;

    // The next box must carry this title; it is answered with answer.
    void expect(const QString &title, int answer = Ok);
    // Any box with this title, now or later, is answered so and not counted as unexpected.
    void allow(const QString &title, int answer = Ok);
    // Answers of the file pickers, in order; an empty text is a cancel.
    void expectFileName(const QString &name) { m_fileNames.push_back(name); }
    void onModal(std::function<int(QObject *)> handler) { m_modal = std::move(handler); }

    const std::vector<Box> &shown() const { return m_shown; }
    // Every file dialog opened, with the folder it started in and its filter.
    const std::vector<FileDialog> &fileDialogs() const { return m_fileDialogs; }
    QStringList titles() const;
    // The expected boxes that never came.
    int pendingExpectations() const { return int(m_script.size()); }
    int beeps() const { return m_beeps; }
    bool busy() const { return m_busy > 0; }

    int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) override;
    QString getOpenFileName(const QString &title, const QString &folder,
                            const QString &filter) override;
    QString getSaveFileName(const QString &title, const QString &folder,
                            const QString &filter) override;
    int runModal(QObject *window) override;
    void beep() override { ++m_beeps; }
    void setBusy(bool busy) override { m_busy += busy ? 1 : -1; }

    // The answers a box with this button set can give.
    static std::vector<int> answersOf(int buttonSet);

private:
    int scripted(const QString &title, int answer, int buttons);
    QString nextFileName(const QString &title);

    std::deque<std::pair<QString, int>> m_script;
    std::vector<std::pair<QString, int>> m_allowed;
    std::deque<QString> m_fileNames;
    std::function<int(QObject *)> m_modal;
    std::vector<Box> m_shown;
    std::vector<FileDialog> m_fileDialogs;
    int m_beeps = 0;
    int m_busy = 0;
};
