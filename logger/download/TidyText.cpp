#include "logger/download/TidyText.h"

namespace TidyText {

QString field(const QString &text)
{
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\r')
        || text.contains(u'\n');
    if (!quote)
        return text;
    return u'"' + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + u'"';
}

QString line(const QStringList &fields)
{
    QStringList cells;
    cells.reserve(fields.size());
    for (const QString &text : fields)
        cells << field(text);
    return cells.join(u',') + QStringLiteral("\r\n");
}

} // namespace TidyText
