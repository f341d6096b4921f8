#pragma once

#include "soak/OperationKind.h"

#include <QList>
#include <QString>

class SoakRandom;
class SoakRig;

// What goes wrong during an operation: the logger's and the cable's faults
// (the simulator's), and the PC's own (a full disk, the data folder removed,
// the operator pressing Cancel).
enum class FaultKind {
    None,
    UnplugAtByte,
    AdapterPulled,
    CtsFlicker,
    CtsBusy,
    NoiseBytes,
    BadChecksums,
    ShortOrLongLines,
    OtherAddresses,
    MissingEchoes,
    BootloaderReset,
    SlowLogger,
    DiskFull,
    FolderRemoved,
    OperatorCancel,
};

class SoakFault
{
public:
    static QString name(FaultKind kind);
    static QList<FaultKind> all();
    // The faults that can meet an operation of this kind.
    static QList<FaultKind> forOperation(OperationKind operation);
    // A fault of the logger or the cable switched on so that it strikes
    // within about `bytes` of the logger's output; returns its description
    // with the numbers chosen. The PC's faults are left to the operation.
    static QString arm(FaultKind kind, SoakRig &rig, SoakRandom &random, qint64 bytes);
    // Every fault taken away: the logger plugged in, its cable and adapter
    // sound, the disk not full, the data folder there.
    static void remove(SoakRig &rig);
};
