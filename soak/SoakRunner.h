#pragma once

#include "soak/OperationKind.h"
#include "soak/SoakFault.h"
#include "soak/SoakOptions.h"

#include <QMap>
#include <QString>
#include <QStringList>

class SoakRig;
class SoakRandom;
struct LoggerImage;

// The round: every operation with its fault and the operator's answers
// drawn from the seed, the invariants checked after each, the fault taken
// away and the same kind of operation run again, and the tally printed.
class SoakRunner
{
public:
    explicit SoakRunner(const SoakOptions &options);

    // The number of invariant failures.
    int run();

private:
    struct Plan
    {
        OperationKind kind = OperationKind::Connect;
        FaultKind fault = FaultKind::None;
        QString faultText;
    };

    void runOperation(qint64 index);
    Plan plan(SoakRandom &random) const;
    static LoggerImage imageFor(OperationKind kind, SoakRandom &random);
    void faulted(SoakRig &rig, SoakRandom &random, Plan &plan, qint64 index);
    void recover(SoakRig &rig, const Plan &plan, qint64 index);
    void fail(qint64 index, const Plan &plan, const QString &what);
    void printTally() const;

    SoakOptions m_options;
    QMap<QString, int> m_kinds;
    QMap<QString, int> m_faults;
    QMap<QString, int> m_outcomes;
    int m_failures = 0;
    int m_resumed = 0;
    qint64 m_run = 0;
};
