#pragma once

#include "platform/Dialogs.h"

struct LinkState;

// The boxes of everything that talks to the logger, passed on to the
// program's Dialogs, except while the running sequence is abandoned: its
// questions concern a logger that is no longer there (or a program that is
// ending), so they are answered with the way out (Cancel, Abort, No or OK)
// without being shown.
class LinkDialogs : public Dialogs
{
public:
    LinkDialogs(Dialogs &inner, const LinkState &state);

    // The answer that leaves a box without going on: Cancel where the box
    // has it, else Abort, else No, else OK.
    static int wayOut(int buttonsAndIcon);

    int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) override;
    QString getOpenFileName(const QString &title, const QString &folder,
                            const QString &filter) override;
    QString getSaveFileName(const QString &title, const QString &folder,
                            const QString &filter) override;
    int runModal(QObject *window) override;
    void beep() override;
    void setBusy(bool busy) override { m_inner.setBusy(busy); }

private:
    Dialogs &m_inner;
    const LinkState &m_state;
};
