#include "tests/support/ScriptedDialogs.h"

#include <QObject>
#include <gtest/gtest.h>

void ScriptedDialogs::expect(const QString &title, int answer)
{
    m_script.emplace_back(title, answer);
}

void ScriptedDialogs::allow(const QString &title, int answer)
{
    m_allowed.emplace_back(title, answer);
}

QStringList ScriptedDialogs::titles() const
{
    QStringList list;
    for (const Box &box : m_shown)
        list << box.title;
    return list;
}

int ScriptedDialogs::Message_Box(const QString &prompt, int code, const QString &title)
{
    m_shown.push_back({title, prompt, buttonSet(code), icon(code), defaultButton(code)});
    if (!m_script.empty() && m_script.front().first == title) {
        const int answer = m_script.front().second;
        m_script.pop_front();
        return answer;
    }
    for (const auto &[allowedTitle, answer] : m_allowed) {
        if (allowedTitle == title)
            return answer;
    }
    ADD_FAILURE() << "unexpected message box \"" << title.toStdString() << "\": "
                  << prompt.toStdString()
                  << (m_script.empty() ? std::string()
                                       : "\n(expected \"" + m_script.front().first.toStdString()
                                             + "\")");
    switch (buttonSet(code)) {
    case OkCancel:
    case YesNoCancel:
    case RetryCancel: return Cancel;
    case AbortRetryIgnore: return Abort;
    case YesNo: return No;
    default: return Ok;
    }
}

QString ScriptedDialogs::nextFileName(const QString &title)
{
    if (m_fileNames.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << title.toStdString() << "\"";
        return {};
    }
    QString name = m_fileNames.front();
    m_fileNames.pop_front();
    return name;
}

QString ScriptedDialogs::getOpenFileName(const QString &title, const QString &, const QString &)
{
    return nextFileName(title);
}

QString ScriptedDialogs::getSaveFileName(const QString &title, const QString &, const QString &)
{
    return nextFileName(title);
}

int ScriptedDialogs::runModal(QObject *window)
{
    if (!m_modal) {
        ADD_FAILURE() << "unexpected modal window " << window->objectName().toStdString();
        return 0;
    }
    return m_modal(window);
}
