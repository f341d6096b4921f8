#pragma once

#include <QObject>
#include <QString>

// What the memory tests show while they run and when they end, for the
// factory page (and anything else that wants to follow a test).
class MemoryTestDisplay : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

Q_SIGNALS:
    // The test's end: the status text ("GOOD", "Aborted", or empty when the
    // status display keeps what it shows) and the result text ("DATA GOOD",
    // "HEADER ABORTED", ...).
    void shown(const QString &status, const QString &result);
    // The line being worked on (4 hexadecimal digits for the header, 6 for
    // the data memory).
    void lineTested(const QString &address);
    // `done` of `total` steps; the factory page's progress bar.
    void progressed(int done, int total);
};
