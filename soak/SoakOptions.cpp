#include "soak/SoakOptions.h"

namespace {

bool number(const QStringList &arguments, qsizetype *i, qint64 minimum, qint64 *value, QString *error)
{
    const QString name = arguments.at(*i);
    bool ok = false;
    const qint64 n = ++*i < arguments.size() ? arguments.at(*i).toLongLong(&ok) : 0;
    if (!ok || n < minimum) {
        *error = QStringLiteral("%1 needs a whole number of at least %2").arg(name).arg(minimum);
        return false;
    }
    *value = n;
    return true;
}

} // namespace

bool SoakOptions::parse(const QStringList &arguments, SoakOptions *options, QString *error)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        qint64 value = 0;
        if (a == u"--seed") {
            if (!number(arguments, &i, 0, &value, error))
                return false;
            options->seed = quint64(value);
            options->seedGiven = true;
        } else if (a == u"--operations") {
            if (!number(arguments, &i, 1, &options->operations, error))
                return false;
        } else if (a == u"--only") {
            if (!number(arguments, &i, 0, &options->only, error))
                return false;
        } else if (a == u"--verbose") {
            options->verbose = true;
        } else {
            *error = QStringLiteral("unknown argument %1").arg(a);
            return false;
        }
    }
    return true;
}

QString SoakOptions::usage()
{
    return QStringLiteral("usage: datalogger-soak [--seed N] [--operations N] [--only K] [--verbose]");
}
