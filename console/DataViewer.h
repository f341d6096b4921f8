#pragma once

#include "logger/download/DownloadRead.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class DataViewer;
}
class ChartViewport;
class Dialogs;
class DownloadChart;
class DownloadChartView;
class QChart;

// A window showing one download: the logger and test above, every column
// over time in engineering units with clips and status events marked, the
// columns switched on and off in the list beside the chart, zoom and pan
// with mouse and keys, and the chart saved as a PNG picture.
class DataViewer : public QWidget
{
    Q_OBJECT

public:
    // Points drawn per column at least, whatever the width.
    static constexpr int MinimumBuckets = 200;

    // dataFolder gives the folder pictures are proposed in.
    DataViewer(Dialogs &dialogs, DownloadRead read, std::function<QString()> dataFolder,
               QWidget *parent = nullptr);
    ~DataViewer() override;

    Ui::DataViewer &ui() { return *m_ui; }
    const DownloadTable &table() const { return m_read.table; }
    DownloadChart &chart() { return *m_chart; }
    ChartViewport &viewport() { return *m_viewport; }
    DownloadChartView &chartView() { return *m_view; }

    void redrawNow();
    void savePicture();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showFacts();
    void listColumns();
    int buckets() const;

    std::unique_ptr<Ui::DataViewer> m_ui;
    Dialogs &m_dialogs;
    DownloadRead m_read;
    std::function<QString()> m_dataFolder;
    QChart *m_qchart = nullptr;
    std::unique_ptr<ChartViewport> m_viewport;
    std::unique_ptr<DownloadChart> m_chart;
    DownloadChartView *m_view = nullptr;
    bool m_redrawing = false;
};
