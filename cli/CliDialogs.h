#pragma once

#include "platform/Dialogs.h"

#include <QSet>
#include <QString>
#include <cstdio>

// The boxes of a run without windows. Every box is printed on stderr as it
// would show (title, then its text) and answered by rule: a message box
// with one button is acknowledged; a question gets the safe answer (the one
// that writes nothing and keeps the data: Cancel, No, Abort) unless --yes
// accepts it. A box whose title the operator already answered by a deed of
// their own (Ctrl+C confirms "Cancel Download Alert") gets Yes. File
// dialogs give the path an option named, else fail.
class CliDialogs : public Dialogs
{
public:
    explicit CliDialogs(bool acceptQuestions, std::FILE *out = stderr);

    int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) override;
    QString getOpenFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString getSaveFileName(const QString &title, const QString &folder, const QString &filter) override;
    int runModal(QObject *window) override;
    void beep() override {}
    void setBusy(bool) override {}

    // The path the next file dialog answers with. An empty path fails it;
    // acceptProposed takes the folder and name the dialog proposes.
    void setFilePath(const QString &path) { m_filePath = path; }
    void setAcceptProposedFile(bool accept) { m_acceptProposed = accept; }
    // The next box of this title is answered Yes (or OK).
    void confirmByDeed(const QString &title) { m_confirmed.insert(title); }

    // A question was answered the safe way or a file dialog failed.
    bool refused() const { return m_refused; }
    // Boxes shown so far.
    int shown() const { return m_shown; }

private:
    int answer(int buttons, const QString &title);
    void print(const QString &title, const QString &text);

    bool m_accept;
    std::FILE *m_out;
    QString m_filePath;
    bool m_acceptProposed = false;
    QSet<QString> m_confirmed;
    bool m_refused = false;
    int m_shown = 0;
};
