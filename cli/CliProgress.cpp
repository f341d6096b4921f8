#include "cli/CliProgress.h"

#include <algorithm>
#include <unistd.h>

namespace {
constexpr int BarWidth = 30;
constexpr qint64 RedrawNs = 200'000'000;

QString timeText(double seconds)
{
    const qint64 s = qint64(seconds + 0.5);
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar(u'0'));
}
} // namespace

CliProgress::CliProgress(std::FILE *out, bool enabled)
    : m_out(out)
    , m_enabled(enabled)
    , m_terminal(isatty(fileno(out)) != 0)
{
}

void CliProgress::start(const QString &what, qint64 total, const QString &unit)
{
    m_what = what;
    m_unit = unit;
    m_total = std::max<qint64>(total, 1);
    m_lastTenth = -1;
    m_lastDrawNs = -RedrawNs;
    m_open = true;
    m_clock.start();
}

void CliProgress::update(qint64 value)
{
    if (!m_enabled || !m_open)
        return;
    // Some work counts past the total it announced.
    const qint64 done = std::clamp<qint64>(value, 0, m_total);
    const double seconds = double(m_clock.nsecsElapsed()) / 1e9;
    const double rate = seconds > 0 ? double(done) / seconds : 0.0;
    if (m_terminal) {
        if (m_clock.nsecsElapsed() - m_lastDrawNs >= RedrawNs || done >= m_total) {
            m_lastDrawNs = m_clock.nsecsElapsed();
            drawBar(done, rate);
        }
        return;
    }
    const int tenth = int(std::min<qint64>(10, done * 10 / m_total));
    if (tenth != m_lastTenth) {
        m_lastTenth = tenth;
        printLine(done, rate);
    }
}

void CliProgress::finish()
{
    if (m_enabled && m_open && m_terminal)
        std::fputc('\n', m_out);
    m_open = false;
}

void CliProgress::drawBar(qint64 done, double rate)
{
    const int filled = int(std::min<qint64>(BarWidth, done * BarWidth / m_total));
    const double left = rate > 0 ? double(m_total - done) / rate : 0.0;
    std::fprintf(m_out, "\r%s [%s%s] %lld/%lld %s %.0f/s %s left ", qPrintable(m_what),
                 qPrintable(QString(filled, u'#')), qPrintable(QString(BarWidth - filled, u'.')),
                 static_cast<long long>(done), static_cast<long long>(m_total), qPrintable(m_unit), rate,
                 qPrintable(timeText(left)));
    std::fflush(m_out);
}

void CliProgress::printLine(qint64 done, double rate)
{
    const double left = rate > 0 ? double(m_total - done) / rate : 0.0;
    std::fprintf(m_out, "%s: %lld of %lld %s (%lld%%), %.0f %s/s, %s left\n", qPrintable(m_what),
                 static_cast<long long>(done), static_cast<long long>(m_total), qPrintable(m_unit),
                 static_cast<long long>(done * 100 / m_total), rate, qPrintable(m_unit), qPrintable(timeText(left)));
    std::fflush(m_out);
}
