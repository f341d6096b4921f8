#include "soak/RandomDialogs.h"

#include "soak/SoakRandom.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

RandomDialogs::RandomDialogs(SoakRandom &random) : m_random(random)
{
}

void RandomDialogs::forget()
{
    m_answers.clear();
    m_fileCancelled = false;
}

std::vector<int> RandomDialogs::answersOf(int buttonSet)
{
    switch (buttonSet) {
    case OkCancel: return {Ok, Cancel};
    case AbortRetryIgnore: return {Abort, Retry, Ignore};
    case YesNoCancel: return {Yes, No, Cancel};
    case YesNo: return {Yes, No};
    case RetryCancel: return {Retry, Cancel};
    default: return {Ok};
    }
}

// The willing operator does not cancel a download he did not ask to cancel.
int RandomDialogs::willingAnswer(const std::vector<int> &answers, const QString &title) const
{
    if (title == u"Cancel Download Alert" && std::count(answers.begin(), answers.end(), int(No)))
        return No;
    for (int preferred : {int(Ok), int(Yes), int(Retry), int(Ignore)}) {
        if (std::count(answers.begin(), answers.end(), preferred))
            return preferred;
    }
    return answers.front();
}

int RandomDialogs::Message_Box(const QString &, int buttonsAndIcon, const QString &title)
{
    const std::vector<int> answers = answersOf(buttonSet(buttonsAndIcon));
    // Half the time the random operator too lets the operation go on, so
    // that operations get far enough to meet their faults.
    const bool willing = m_willing || m_random.chance(0.5);
    const int answer = willing ? willingAnswer(answers, title)
                               : answers[std::size_t(m_random.between(0, qint64(answers.size()) - 1))];
    m_answers.emplace_back(title, answer);
    if (m_trace)
        std::printf("    box \"%s\" -> %d\n", qPrintable(title), answer);
    return answer;
}

QString RandomDialogs::getOpenFileName(const QString &, const QString &, const QString &)
{
    if (!m_willing && m_random.chance(0.1)) {
        m_fileCancelled = true;
        return QString();
    }
    return m_openFile;
}

QString RandomDialogs::getSaveFileName(const QString &, const QString &, const QString &)
{
    if (!m_willing && m_random.chance(0.1)) {
        m_fileCancelled = true;
        return QString();
    }
    for (;;) {
        const QString base = QDir(m_folder).filePath(QStringLiteral("soak-%1").arg(++m_names, 3, 10, QChar(u'0')));
        if (QDir(m_folder).entryList({QFileInfo(base).fileName() + u'*'}, QDir::Files).isEmpty())
            return base;
    }
}

int RandomDialogs::runModal(QObject *)
{
    return m_willing || m_random.chance(0.5) ? 1 : 0;
}
