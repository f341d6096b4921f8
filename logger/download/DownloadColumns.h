#pragma once

#include <QList>
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
    int activeCount() const { return int(activeList().size()); }
    // Index 0-7 of the channel whose calibration the column uses; -1 when
    // a monitor column has no monitor channel behind it.
    int channelIndex(int column) const
    {
        if (column < MonitorMax)
            return column;
        return monitorChannel >= 1 && monitorChannel <= 8 ? monitorChannel - 1 : -1;
    }
};
