#include "logger/download/CsvLines.h"

#include <QDate>
#include <QIODevice>
#include <cstring>
#include <utility>

CsvLines::CsvLines(QIODevice &device)
    : m_device(device)
{
    m_buffer.resize(MaxLineBytes + 2);
}

bool CsvLines::atEnd() const
{
    return m_device.atEnd();
}

bool CsvLines::next(QByteArrayView &line)
{
    if (!m_problem.isEmpty() || m_device.atEnd())
        return false;
    const qint64 got = m_device.readLine(m_buffer.data(), m_buffer.size());
    if (got < 0)
        return false;
    ++m_lineNumber;
    qint64 length = got;
    const bool ended = length > 0 && m_buffer[length - 1] == '\n';
    if (!ended && length >= MaxLineBytes) {
        m_problem = QStringLiteral("the line is longer than any download writes");
        return false;
    }
    if (ended)
        --length;
    if (length > 0 && m_buffer[length - 1] == '\r')
        --length;
    if (memchr(m_buffer.constData(), '\0', size_t(length))) {
        m_problem = QStringLiteral("the line holds binary data");
        return false;
    }
    line = QByteArrayView(m_buffer.constData(), length);
    return true;
}

QString CsvLines::encodingProblem(const QByteArray &start)
{
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return QStringLiteral("it is in UTF-16; a download is plain UTF-8 text");
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i < start.size(); ++i)
        if (start[i] == '\0')
            ++(i % 2 ? oddZeros : evenZeros);
    // Text in UTF-16 without a byte order mark: every other byte is zero.
    if (qMin(evenZeros, oddZeros) == 0 && qMax(evenZeros, oddZeros) > start.size() / 4)
        return QStringLiteral("it is in UTF-16; a download is plain UTF-8 text");
    if (evenZeros + oddZeros > 0)
        return QStringLiteral("it holds binary data, not text");
    return QString();
}

void CsvLines::split(QByteArrayView line, QList<QByteArrayView> *cells)
{
    cells->clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == ',') {
            cells->append(line.sliced(start, i - start));
            start = i + 1;
        }
    }
    cells->append(line.sliced(start));
}

bool CsvLines::splitQuoted(QByteArrayView line, QList<QByteArray> *cells)
{
    cells->clear();
    QByteArray cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"')
                cell += c;
            else if (i + 1 < line.size() && line[i + 1] == '"')
                cell += line[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            cells->append(std::exchange(cell, QByteArray()));
        } else {
            cell += c;
        }
    }
    cells->append(cell);
    return !quoted;
}

bool CsvLines::toInt(QByteArrayView text, qint64 *value)
{
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == '-';
    if (negative)
        ++i;
    if (i >= text.size() || text.size() - i > 15)
        return false;
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = negative ? -v : v;
    return true;
}

bool CsvLines::toDouble(QByteArrayView text, double *value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok)
        *value = v;
    return ok;
}

namespace {
int digits(const char *p, int n, bool *ok)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            *ok = false;
        v = v * 10 + (p[i] - '0');
    }
    return v;
}
} // namespace

bool CsvLines::toWallClock(QByteArrayView text, qint64 *wallMs, int *offsetSeconds, bool *hasOffset)
{
    const char *p = text.constData();
    const qsizetype n = text.size();
    if (n < 19 || p[4] != '-' || p[7] != '-' || (p[10] != ' ' && p[10] != 'T') || p[13] != ':'
        || p[16] != ':')
        return false;
    bool ok = true;
    const QDate date(digits(p, 4, &ok), digits(p + 5, 2, &ok), digits(p + 8, 2, &ok));
    const int h = digits(p + 11, 2, &ok), m = digits(p + 14, 2, &ok), s = digits(p + 17, 2, &ok);
    if (!ok || !date.isValid() || h > 23 || m > 59 || s > 59)
        return false;
    *hasOffset = false;
    *offsetSeconds = 0;
    if (n == 20 && p[19] == 'Z') {
        *hasOffset = true;
    } else if (n == 25 && (p[19] == '+' || p[19] == '-') && p[22] == ':') {
        const int minutes = digits(p + 20, 2, &ok) * 60 + digits(p + 23, 2, &ok);
        if (!ok || minutes > 18 * 60)
            return false;
        *offsetSeconds = (p[19] == '-' ? -60 : 60) * minutes;
        *hasOffset = true;
    } else if (n != 19) {
        return false;
    }
    *wallMs = (date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86400000LL
        + ((h * 60 + m) * 60 + s) * 1000LL;
    return true;
}
