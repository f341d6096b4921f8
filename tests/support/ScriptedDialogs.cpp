#include "tests/support/ScriptedDialogs.h"

#include <QObject>
#include <gtest/gtest.h>

#include <algorithm>

ScriptedDialogs::~ScriptedDialogs()
{
    for (const auto &[title, answer] : m_script)
        ADD_FAILURE() << "the expected box \"" << title.toStdString() << "\" never came";
    for (const QString &name : m_fileNames)
        ADD_FAILURE() << "no file dialog asked for the scripted name \"" << name.toStdString() << '"';
}

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

std::vector<int> ScriptedDialogs::answersOf(int buttonSet)
{
    switch (buttonSet) {
    case OkOnly: return {Ok};
    case OkCancel: return {Ok, Cancel};
    case AbortRetryIgnore: return {Abort, Retry, Ignore};
    case YesNoCancel: return {Yes, No, Cancel};
    case YesNo: return {Yes, No};
    case RetryCancel: return {Retry, Cancel};
    default: return {};
    }
}

// An answer the box cannot give would take the code under test down a path
// no operator can.
int ScriptedDialogs::scripted(const QString &title, int answer, int buttons)
{
    const std::vector<int> possible = answersOf(buttons);
    if (std::find(possible.begin(), possible.end(), answer) == possible.end())
        ADD_FAILURE() << "the scripted answer " << answer << " is not a button of the box \""
                      << title.toStdString() << "\" (button set " << buttons << ")";
    return answer;
}

int ScriptedDialogs::Message_Box(const QString &prompt, int code, const QString &title)
{
    m_shown.push_back({title, prompt, buttonSet(code), icon(code), defaultButton(code)});
    if (!m_script.empty() && m_script.front().first == title) {
        const int answer = m_script.front().second;
        m_script.pop_front();
        return scripted(title, answer, buttonSet(code));
    }
    for (const auto &[allowedTitle, answer] : m_allowed) {
        if (allowedTitle == title)
            return scripted(title, answer, buttonSet(code));
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

QString ScriptedDialogs::getOpenFileName(const QString &title, const QString &folder,
                                         const QString &filter)
{
    m_fileDialogs.push_back({FileDialog::Open, title, folder, filter});
    return nextFileName(title);
}

QString ScriptedDialogs::getSaveFileName(const QString &title, const QString &folder,
                                         const QString &filter)
{
    m_fileDialogs.push_back({FileDialog::Save, title, folder, filter});
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
