#pragma once

#include <QString>
#include <QStringList>

// The lines of the tidy files: RFC 4180 with CR LF line ends, a field in
// double quotes only when it holds a comma, a quote, a carriage return or a
// line feed (quotes inside doubled).
namespace TidyText {

QString field(const QString &text);
// The fields joined by commas, with the line end.
QString line(const QStringList &fields);

} // namespace TidyText
