#pragma once

#include <QString>

// File names the program builds from text it did not choose itself (a
// logger's serial number, a description): every character that could leave
// the data folder or is not allowed in a file name on Windows or Linux
// (/ \ : * ? " < > |, control characters, dots) becomes "_".
namespace SafeFileName {

// A piece inside a name: blanks are kept, something follows it.
QString part(const QString &text);
// A whole name: blanks at its end, which Windows drops, become "_" too, and
// an empty name becomes "_".
QString whole(const QString &text);

} // namespace SafeFileName
