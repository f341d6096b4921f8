#pragma once

#include "platform/Dialogs.h"

#include <QString>
#include <utility>
#include <vector>

class SoakRandom;

// The operator of the soak. While random, every box is answered with any of
// its buttons (half the time with the one a willing operator gives) and a save dialog is now and then cancelled; while willing,
// every box gets the answer that lets the operation go on (OK, Yes, Retry),
// except that a cancel request is taken back. A save dialog gets a name not
// used before in the data folder; an open dialog gets the file set for it.
class RandomDialogs : public Dialogs
{
public:
    explicit RandomDialogs(SoakRandom &random);

    void setWilling(bool willing) { m_willing = willing; }
    // Prints every box and its answer.
    void setTrace(bool trace) { m_trace = trace; }
    void setFolder(const QString &folder) { m_folder = folder; }
    void setOpenFile(const QString &path) { m_openFile = path; }

    // Every box shown: its title and the answer given.
    const std::vector<std::pair<QString, int>> &answers() const { return m_answers; }
    int boxes() const { return int(m_answers.size()); }
    // True once a save or open dialog was cancelled.
    bool fileDialogCancelled() const { return m_fileCancelled; }
    void forget();

    int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) override;
    QString getOpenFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString getSaveFileName(const QString &title, const QString &folder, const QString &filter) override;
    int runModal(QObject *window) override;
    void beep() override {}
    void setBusy(bool) override {}

    static std::vector<int> answersOf(int buttonSet);

private:
    int willingAnswer(const std::vector<int> &answers, const QString &title) const;

    SoakRandom &m_random;
    bool m_willing = false;
    bool m_trace = false;
    QString m_folder;
    QString m_openFile;
    int m_names = 0;
    bool m_fileCancelled = false;
    std::vector<std::pair<QString, int>> m_answers;
};
