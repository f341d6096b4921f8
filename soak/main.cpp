#include "soak/CrashNote.h"
#include "soak/DiskLimit.h"
#include "soak/SoakOptions.h"
#include "soak/SoakRunner.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cstdio>

// datalogger-soak: whole operations against the simulated logger under
// virtual time, with random faults and operator answers, the invariants
// checked after each. Exit code 1 when any failed, 2 for bad arguments.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    SoakOptions options;
    QString error;
    if (!SoakOptions::parse(app.arguments(), &options, &error)) {
        std::fprintf(stderr, "datalogger-soak: %s\n%s\n", qPrintable(error), qPrintable(SoakOptions::usage()));
        return 2;
    }
    if (!options.seedGiven)
        options.seed = quint64(QDateTime::currentMSecsSinceEpoch());
    CrashNote::arm();
    DiskLimit::prepare();
    return SoakRunner(options).run() == 0 ? 0 : 1;
}
