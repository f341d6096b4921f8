#include "fuzz/FuzzCheck.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

namespace FuzzCheck {

void fail(const char *property, const QString &detail)
{
    std::fprintf(stderr, "PROPERTY FAILED: %s\n%s\n", property, qPrintable(detail));
    std::fflush(stderr);
    __builtin_trap();
}

QString scratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/datalogger-fuzz-XXXXXX"));
    return dir.path();
}

} // namespace FuzzCheck
