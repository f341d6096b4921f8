#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target shares: the input as bytes and as text, and the
// stop when a property fails (the input is then kept as a crash file).
namespace FuzzCheck {

// Prints what failed and stops the run at once.
[[noreturn]] void fail(const char *property, const QString &detail = QString());

inline void require(bool holds, const char *property, const QString &detail = QString())
{
    if (!holds)
        fail(property, detail);
}

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input as the program would read it from a file or the port: Latin-1.
inline QString latin1(const uint8_t *data, size_t size)
{
    return QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A writable scratch folder for targets that need files, made once.
QString scratchFolder();

} // namespace FuzzCheck
