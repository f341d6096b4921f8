#pragma once

#include "platform/Dialogs.h"

class QWidget;

// Message boxes, file pickers and modal windows on the desktop.
class QtDialogs : public Dialogs
{
public:
    // Boxes are centred over parent when one is set.
    void setParentWindow(QWidget *parent) { m_parent = parent; }

    int Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title) override;
    QString getOpenFileName(const QString &title, const QString &folder,
                            const QString &filter) override;
    QString getSaveFileName(const QString &title, const QString &folder,
                            const QString &filter) override;
    int runModal(QObject *window) override;
    void beep() override;
    void setBusy(bool busy) override;

private:
    QWidget *m_parent = nullptr;
    int m_busyDepth = 0;
};
