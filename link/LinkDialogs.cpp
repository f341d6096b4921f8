#include "link/LinkDialogs.h"

#include "link/LinkState.h"

LinkDialogs::LinkDialogs(Dialogs &inner, const LinkState &state)
    : m_inner(inner)
    , m_state(state)
{
}

int LinkDialogs::wayOut(int buttonsAndIcon)
{
    switch (buttonSet(buttonsAndIcon)) {
    case OkCancel:
    case YesNoCancel:
    case RetryCancel:
        return Cancel;
    case AbortRetryIgnore:
        return Abort;
    case YesNo:
        return No;
    default:
        return Ok;
    }
}

int LinkDialogs::Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title)
{
    if (m_state.abandoned)
        return wayOut(buttonsAndIcon);
    return m_inner.Message_Box(prompt, buttonsAndIcon, title);
}

QString LinkDialogs::getOpenFileName(const QString &title, const QString &folder,
                                     const QString &filter)
{
    return m_state.abandoned ? QString() : m_inner.getOpenFileName(title, folder, filter);
}

QString LinkDialogs::getSaveFileName(const QString &title, const QString &folder,
                                     const QString &filter)
{
    return m_state.abandoned ? QString() : m_inner.getSaveFileName(title, folder, filter);
}

int LinkDialogs::runModal(QObject *window)
{
    return m_state.abandoned ? 0 : m_inner.runModal(window);
}

void LinkDialogs::beep()
{
    if (!m_state.abandoned)
        m_inner.beep();
}
