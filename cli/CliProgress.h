#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

// Progress of long work on stderr: a bar redrawn in place, with the amount
// done (bytes for a download), rate and time left, when stderr is a terminal; otherwise a plain line at every
// tenth of the work, so a log file stays readable.
class CliProgress
{
public:
    CliProgress(std::FILE *out, bool enabled);

    // unit: what is counted ("bytes", "steps").
    void start(const QString &what, qint64 total, const QString &unit = QStringLiteral("bytes"));
    void update(qint64 value);
    void finish();

private:
    void drawBar(qint64 done, double rate);
    void printLine(qint64 done, double rate);

    std::FILE *m_out;
    bool m_enabled;
    bool m_terminal;
    QString m_what;
    QString m_unit;
    qint64 m_total = 0;
    int m_lastTenth = -1;
    qint64 m_lastDrawNs = 0;
    bool m_open = false;
    QElapsedTimer m_clock;
};
