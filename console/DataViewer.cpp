#include "console/DataViewer.h"

#include "console/ChartPicture.h"

#include "console/ChartViewport.h"
#include "console/DownloadChart.h"
#include "console/DownloadChartView.h"
#include "logger/download/CsvHeaderBlock.h"
#include "platform/Dialogs.h"
#include "ui_DataViewer.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

namespace {
QString kindText(DownloadTable::Kind kind)
{
    switch (kind) {
    case DownloadTable::Kind::PartsCsv:
        return QStringLiteral("spreadsheet CSV");
    case DownloadTable::Kind::TidyCsv:
        return QStringLiteral("tidy CSV");
    case DownloadTable::Kind::Raw:
        return QStringLiteral("rebuilt from RAW");
    }
    return QString();
}

QString offsetText(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    return QStringLiteral("UTC%1%2")
        .arg(QChar(offset < 0 ? u'-' : u'+'))
        .arg(QTime(0, 0).addSecs(qAbs(offset)).toString(QStringLiteral("hh:mm")));
}
} // namespace

DataViewer::DataViewer(Dialogs &dialogs, DownloadRead read, std::function<QString()> dataFolder,
                       QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ui(std::make_unique<Ui::DataViewer>())
    , m_dialogs(dialogs)
    , m_read(std::move(read))
    , m_dataFolder(std::move(dataFolder))
    , m_viewport(std::make_unique<ChartViewport>())
{
    m_ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    m_qchart = new QChart();
    m_chart = std::make_unique<DownloadChart>(*m_qchart, m_read.table);
    m_view = new DownloadChartView(m_qchart, *m_viewport, m_ui->chartHost);
    m_view->setObjectName(QStringLiteral("chartDownload"));
    m_view->setAccessibleName(QStringLiteral("Download chart"));
    auto *host = new QVBoxLayout(m_ui->chartHost);
    host->setContentsMargins(0, 0, 0, 0);
    host->addWidget(m_view);
    showFacts();
    listColumns();
    connect(m_viewport.get(), &ChartViewport::changed, this, &DataViewer::redrawNow);
    connect(&m_chart->xAxis(), &QValueAxis::rangeChanged, this,
            [this](qreal from, qreal to) {
                // The chart's own rubber band zoom; not the redraw's setting.
                if (!m_redrawing)
                    m_viewport->show(from, to);
            });
    connect(m_ui->cmdResetZoom, &QPushButton::clicked, m_viewport.get(), &ChartViewport::reset);
    connect(m_ui->cmdSavePng, &QPushButton::clicked, this, &DataViewer::savePicture);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    m_viewport->setWhole(m_chart->wholeFrom(), m_chart->wholeTo());
    m_view->setFocus();
}

DataViewer::~DataViewer() = default;

void DataViewer::showFacts()
{
    const DownloadTable::Facts &f = m_read.table.facts;
    const QString logger = QStringList{f.serialNumber, f.model}.join(u' ').trimmed();
    setWindowTitle(QStringLiteral("Data Viewer - ") + f.fileName);
    m_ui->txtLogger->setText(logger.isEmpty() ? QStringLiteral("(not stated)") : logger);
    m_ui->txtTest->setText(f.description);
    m_ui->txtStart->setText(f.testStart.isValid()
                                ? f.testStart.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + offsetText(f.testStart)
                                : QString());
    m_ui->txtPeriod->setText(f.periodSeconds > 0 ? CsvHeaderBlock::durationText(quint32(f.periodSeconds)) : QString());
    m_ui->txtFile->setText(f.fileName + QStringLiteral(" (") + kindText(f.kind) + u')');
    m_ui->txtReadNote->setText(m_read.message.isEmpty()
                                   ? QStringLiteral("read all %1 rows").arg(m_read.table.rowCount())
                                   : m_read.message);
    m_ui->txtReadNote->setCursorPosition(0);
}

void DataViewer::listColumns()
{
    for (int c = 0; c < m_read.table.columns.size(); ++c) {
        auto *item = new QListWidgetItem(m_read.table.columns[c].caption(), m_ui->lstChannels);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Checked);
    }
    connect(m_ui->lstChannels, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        const int column = m_ui->lstChannels->row(item);
        const bool on = item->checkState() == Qt::Checked;
        if (column >= 0 && m_chart->shown(column) != on) {
            m_chart->setShown(column, on);
            redrawNow();
        }
    });
}

int DataViewer::buckets() const
{
    return std::max(MinimumBuckets, int(m_qchart->plotArea().width()));
}

void DataViewer::redrawNow()
{
    m_redrawing = true;
    m_chart->redraw(m_viewport->from(), m_viewport->to(), buckets());
    m_redrawing = false;
}

void DataViewer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    redrawNow();
}

void DataViewer::savePicture()
{
    const QString base = QFileInfo(m_read.table.facts.fileName).completeBaseName().trimmed();
    const QString proposed = QDir(m_dataFolder ? m_dataFolder() : QString()).filePath(base + QStringLiteral(".png"));
    ChartPicture::save(*m_view, m_dialogs, proposed, QStringLiteral("Save Chart as PNG"),
                       QStringLiteral("Save as PNG"));
}
