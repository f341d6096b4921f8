#include "logger/download/SafeFileName.h"

namespace SafeFileName {

QString part(const QString &text)
{
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|.");
    QString name = text;
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c))
            c = u'_';
    }
    return name;
}

QString whole(const QString &text)
{
    QString name = part(text);
    for (qsizetype i = name.size() - 1; i >= 0 && name[i] == u' '; --i)
        name[i] = u'_';
    return name.isEmpty() ? QStringLiteral("_") : name;
}

} // namespace SafeFileName
