#include "cli/CliDialogs.h"

#include <QStringList>

CliDialogs::CliDialogs(bool acceptQuestions, std::FILE *out)
    : m_accept(acceptQuestions)
    , m_out(out)
{
}

int CliDialogs::Message_Box(const QString &prompt, int buttonsAndIcon, const QString &title)
{
    ++m_shown;
    print(title, prompt);
    const int reply = answer(buttonSet(buttonsAndIcon), title);
    static const char *const names[] = {"", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    std::fprintf(m_out, "  -> %s\n", names[reply]);
    std::fflush(m_out);
    return reply;
}

int CliDialogs::answer(int buttons, const QString &title)
{
    const bool yes = m_accept || m_confirmed.remove(title);
    const auto take = [this](int safe) {
        m_refused = true;
        return safe;
    };
    switch (buttons) {
    case OkCancel:
        return yes ? Ok : take(Cancel);
    case AbortRetryIgnore:
        return yes ? Ignore : take(Abort);
    case YesNoCancel:
        return yes ? Yes : take(Cancel);
    case YesNo:
        return yes ? Yes : take(No);
    case RetryCancel:
        // Retrying repeats what failed; it stays the operator's choice.
        return take(Cancel);
    default:
        return Ok;
    }
}

void CliDialogs::print(const QString &title, const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QString lines;
    for (const QString &line : shown.split(u'\n'))
        lines += QStringLiteral("  ") + line + u'\n';
    std::fprintf(m_out, "[%s]\n%s", qPrintable(title), qPrintable(lines));
}

QString CliDialogs::getOpenFileName(const QString &title, const QString &, const QString &)
{
    print(title, m_filePath.isEmpty() ? QStringLiteral("(no file named: cancelled)") : m_filePath);
    if (m_filePath.isEmpty())
        m_refused = true;
    return m_filePath;
}

QString CliDialogs::getSaveFileName(const QString &title, const QString &folder, const QString &)
{
    const QString path = m_acceptProposed ? folder : m_filePath;
    print(title, path.isEmpty() ? QStringLiteral("(no file named: cancelled)") : path);
    // A name refused as already used is not offered again.
    m_acceptProposed = false;
    m_filePath.clear();
    if (path.isEmpty())
        m_refused = true;
    return path;
}

int CliDialogs::runModal(QObject *)
{
    // No window can run without a display.
    return 0;
}
