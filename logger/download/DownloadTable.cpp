#include "logger/download/DownloadTable.h"

#include <cmath>

QString DownloadTable::Column::caption() const
{
    QString text = tag;
    if (!location.isEmpty())
        text += u' ' + location;
    if (!units.isEmpty())
        text += QStringLiteral(" (") + units + u')';
    return text;
}

void DownloadTable::addRow(qint64 scan, qint64 utcMs)
{
    m_scans.push_back(scan);
    m_utcMs.push_back(utcMs);
    if (utcMs == NoTime)
        ++m_untimed;
    m_values.resize(m_values.size() + size_t(columns.size()), std::nan(""));
    m_clips.resize(m_clips.size() + size_t(columns.size()), NoClip);
}

QString DownloadTable::orderProblem(qint64 scan, qint64 utcMs) const
{
    if (m_scans.empty())
        return {};
    if (scan <= m_scans.back())
        return QStringLiteral("scan %1 does not follow scan %2").arg(scan).arg(m_scans.back());
    if (utcMs == NoTime)
        return {};
    for (auto previous = m_utcMs.rbegin(); previous != m_utcMs.rend(); ++previous) {
        if (*previous == NoTime)
            continue;
        if (*previous > utcMs)
            return QStringLiteral("the time of scan %1 goes back").arg(scan);
        break;
    }
    return {};
}

void DownloadTable::setCell(qsizetype row, int column, double value, Clip clip)
{
    m_values[index(row, column)] = clip == NoClip ? value : std::nan("");
    m_clips[index(row, column)] = clip;
}

void DownloadTable::dropLastRow()
{
    if (m_scans.empty())
        return;
    if (m_utcMs.back() == NoTime)
        --m_untimed;
    m_scans.pop_back();
    m_utcMs.pop_back();
    m_values.resize(m_values.size() - size_t(columns.size()));
    m_clips.resize(m_clips.size() - size_t(columns.size()));
}

QDateTime DownloadTable::time(qsizetype row) const
{
    const qint64 ms = utcMs(row);
    return ms == NoTime ? QDateTime() : shownTime(ms);
}

QDateTime DownloadTable::shownTime(qint64 utcMs) const
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::OffsetFromUTC, m_utcOffset.value_or(0));
}
