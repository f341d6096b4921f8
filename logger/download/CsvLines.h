#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <memory>

class QIODevice;

// The lines of a comma-separated text, one at a time, from a file or from
// memory, with the helpers that take its cells apart. A line longer than
// any download writes, a byte order mark of UTF-16 or a NUL byte stops the
// reading with a reason, so junk costs neither time nor memory.
class CsvLines
{
public:
    static constexpr qint64 MaxLineBytes = 64 * 1024;

    // Reads from `device`, which it does not own and which must stay open.
    explicit CsvLines(QIODevice &device);

    // The next line without its line end, valid until the next call; false
    // at the end or on a fault (then problem() says what is wrong with line
    // lineNumber()).
    bool next(QByteArrayView &line);
    // 1-based number of the line last given.
    int lineNumber() const { return m_lineNumber; }
    QString problem() const { return m_problem; }
    bool atEnd() const;

    // Why the text is no text a download writes, or empty.
    static QString encodingProblem(const QByteArray &start);

    // The cells of a line; quoted cells lose their quotes ("" -> ").
    // Returns false for a quote left open.
    static bool splitQuoted(QByteArrayView line, QList<QByteArray> *cells);
    // The cells of a line without quotes, as views into it (fast).
    static void split(QByteArrayView line, QList<QByteArrayView> *cells);
    static bool toInt(QByteArrayView text, qint64 *value);
    static bool toDouble(QByteArrayView text, double *value);
    // "yyyy-MM-dd hh:mm:ss" or "yyyy-MM-ddThh:mm:ss" with an optional
    // "Z" or "+hh:mm"; ms since the epoch of the wall-clock reading taken
    // as UTC, and the offset when the text has one.
    static bool toWallClock(QByteArrayView text, qint64 *wallMs, int *offsetSeconds, bool *hasOffset);
    static QString text(QByteArrayView cell) { return QString::fromUtf8(cell).trimmed(); }

private:
    QIODevice &m_device;
    QByteArray m_buffer;
    int m_lineNumber = 0;
    QString m_problem;
};
