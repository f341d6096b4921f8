#pragma once

#include <QList>
#include <QString>
#include <algorithm>
#include <array>

// Which of the ten result columns a download fills: columns 0-7 are channels
// 1-8, column 8 the monitor channel's maximum and column 9 its minimum.
struct DownloadColumns
{
    static constexpr int Count = 10;
    static constexpr int MonitorMax = 8;
    static constexpr int MonitorMin = 9;
    // The value a selected position holds in the setup's channel selection.
    static constexpr float Selected = 64.0f;

    std::array<bool, Count> active{};
    // 1-8, or 0 without a monitor channel.
    int monitorChannel = 0;

    // From the setup's channel selection (positions 1-10 at indices 0-9).
    template<typename Selection>
    static DownloadColumns fromSelection(const Selection &select, int monitorChannel)
    {
        DownloadColumns columns;
        for (int c = 0; c < Count; ++c)
            columns.active[c] = select[c] == Selected;
        columns.monitorChannel = monitorChannel;
        return columns;
    }

    // Channels 1 to `channels`, and a monitor channel's maximum and minimum
    // when `monitorChannel` names one (1-8).
    static DownloadColumns firstChannels(int channels, int monitorChannel)
    {
        DownloadColumns columns;
        for (int c = 0; c < std::clamp(channels, 0, 8); ++c)
            columns.active[c] = true;
        if (monitorChannel >= 1 && monitorChannel <= 8) {
            columns.monitorChannel = monitorChannel;
            columns.active[MonitorMax] = columns.active[MonitorMin] = true;
        }
        return columns;
    }

    // From the channel configuration the logger keeps (line 0040): bit 6
    // of channel c's byte marks it active; bit 7 of channel 1's byte marks a
    // monitor channel, whose number is that byte's second digit.
    static DownloadColumns fromChannelConfig(const QString &digits)
    {
        DownloadColumns columns;
        for (int c = 0; c < 8; ++c) {
            bool ok = false;
            const int byte = digits.mid(2 * c, 2).toInt(&ok, 16);
            columns.active[c] = ok && (byte & 0x40);
        }
        bool ok = false;
        const int first = digits.left(2).toInt(&ok, 16);
        const int monitor = ok && (first & 0x80) ? (first & 0x0F) : 0;
        if (monitor >= 1 && monitor <= 8) {
            columns.monitorChannel = monitor;
            columns.active[MonitorMax] = columns.active[MonitorMin] = true;
        }
        return columns;
    }

    bool hasMonitor() const { return active[MonitorMax] && active[MonitorMin]; }
    // The active columns in column order.
    QList<int> activeList() const
    {
        QList<int> list;
        for (int c = 0; c < Count; ++c)
            if (active[c])
                list << c;
        return list;
    }
    // " Max" / " Min" after a monitor column's location and units.
    static QString suffix(int column)
    {
        if (column == MonitorMax)
            return QStringLiteral(" Max");
        if (column == MonitorMin)
            return QStringLiteral(" Min");
        return QString();
    }
    // Index 0-7 of the channel whose calibration the column uses; -1 when
    // a monitor column has no monitor channel behind it.
    int channelIndex(int column) const
    {
        if (column < MonitorMax)
            return column;
        return monitorChannel >= 1 && monitorChannel <= 8 ? monitorChannel - 1 : -1;
    }
};
