#pragma once

#include "soak/DownloadCheck.h"
#include "soak/OperationKind.h"
#include "soak/SoakFault.h"

#include <QString>
#include <QStringList>

class SoakRandom;
class SoakRig;

// Runs one whole operation on the rig the way an operator starts it, with
// the PC's own fault (a full disk, the data folder removed, Cancel pressed)
// striking at a random point of it, and tells how it ended.
class SoakOperations
{
public:
    enum class Outcome {
        Succeeded,
        Refused, // answered away, or stopped, before anything was written
        Failed,  // started and did not finish
    };

    SoakOperations(SoakRig &rig, SoakRandom &random);

    Outcome run(OperationKind kind, FaultKind fault);

    // Where the operation ended, in a few words.
    QString detail() const { return m_detail; }
    // What the checks of the operation itself found broken.
    QStringList problems() const { return m_problems; }
    bool folderRemoved() const { return m_folderRemoved; }
    // The download took up one that had ended early.
    bool resumed() const { return m_resumed; }
    // A header data file of the logger, saved before the operations; the
    // file a header load reads.
    bool saveHeaderFileForLoad();

private:
    Outcome connect();
    Outcome download(FaultKind fault);
    Outcome initialize();
    Outcome calibrate();
    Outcome realTime();
    Outcome headerSave(FaultKind fault);
    Outcome headerLoad();
    bool saveHeader(bool *done);
    void strikeDuringDownload(FaultKind fault, qint64 address);
    void checkDownload(const DownloadCheck::Facts &facts);
    Outcome writeOutcome(bool done) const;

    SoakRig &m_rig;
    SoakRandom &m_random;
    QString m_detail;
    QStringList m_problems;
    bool m_folderRemoved = false;
    bool m_resumed = false;
    bool m_struck = false;
    qint64 m_strikeAt = 0;
};
