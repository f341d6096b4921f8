#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace {

struct ButtonSpec
{
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> buttonsFor(int set)
{
    switch (set) {
    case Dialogs::OkCancel:
        return {{QMessageBox::Ok, Dialogs::Ok}, {QMessageBox::Cancel, Dialogs::Cancel}};
    case Dialogs::AbortRetryIgnore:
        return {{QMessageBox::Abort, Dialogs::Abort},
                {QMessageBox::Retry, Dialogs::Retry},
                {QMessageBox::Ignore, Dialogs::Ignore}};
    case Dialogs::YesNoCancel:
        return {{QMessageBox::Yes, Dialogs::Yes},
                {QMessageBox::No, Dialogs::No},
                {QMessageBox::Cancel, Dialogs::Cancel}};
    case Dialogs::YesNo:
        return {{QMessageBox::Yes, Dialogs::Yes}, {QMessageBox::No, Dialogs::No}};
    case Dialogs::RetryCancel:
        return {{QMessageBox::Retry, Dialogs::Retry}, {QMessageBox::Cancel, Dialogs::Cancel}};
    default:
        return {{QMessageBox::Ok, Dialogs::Ok}};
    }
}

QMessageBox::Icon iconFor(int code)
{
    switch (Dialogs::icon(code)) {
    case Dialogs::Critical: return QMessageBox::Critical;
    case Dialogs::Question: return QMessageBox::Question;
    case Dialogs::Exclamation: return QMessageBox::Warning;
    case Dialogs::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int QtDialogs::Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title)
{
    QMessageBox box(iconFor(buttonsAndIcon), title, prompt, QMessageBox::NoButton, m_parent);
    const std::vector<ButtonSpec> buttons = buttonsFor(Dialogs::buttonSet(buttonsAndIcon));
    for (const ButtonSpec &spec : buttons)
        box.addButton(spec.button);
    const size_t defaultIndex = size_t(Dialogs::defaultButton(buttonsAndIcon) / 256);
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons[defaultIndex].button);
    // Closing the box with Escape or the title bar counts as its Cancel (or only) button.
    box.setEscapeButton(buttons.back().button);
    box.exec();
    const auto *clicked = box.clickedButton();
    for (const ButtonSpec &spec : buttons) {
        if (box.button(spec.button) == clicked)
            return spec.answer;
    }
    return buttons.back().answer;
}

QString QtDialogs::getOpenFileName(const QString &title, const QString &folder,
                                   const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, folder, filter);
}

QString QtDialogs::getSaveFileName(const QString &title, const QString &folder,
                                   const QString &filter)
{
    return QFileDialog::getSaveFileName(m_parent, title, folder, filter);
}

int QtDialogs::runModal(QObject *window)
{
    auto *dialog = qobject_cast<QDialog *>(window);
    return dialog ? dialog->exec() : 0;
}

void QtDialogs::beep()
{
    QApplication::beep();
}

void QtDialogs::setBusy(bool busy)
{
    if (busy) {
        if (m_busyDepth++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_busyDepth > 0 && --m_busyDepth == 0) {
        QApplication::restoreOverrideCursor();
    }
}
