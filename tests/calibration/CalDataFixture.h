#pragma once

#include "calibration/CalDataTab.h"
#include "console/MainTab.h"
#include "sim/LoggerPresets.h"
#include "tests/console/LoggerWindowFixture.h"
#include "ui_FrmStartup.h"

#include <QStringList>
#include <QTest>

// The main window logged on to a simulated logger, on the Cal Data tab, with
// a stand-in for the calibration window that records what it was given.
class CalDataFixture : public LoggerWindowFixture
{
protected:
    explicit CalDataFixture(const LoggerImage &image)
        : LoggerWindowFixture(image)
    {
    }

    static LoggerImage preset(LoggerPreset which) { return LoggerPresets::build(which, start()); }
    static QDateTime start() { return VirtualEventLoop().now(); }

    // Logged on, the calibration window plugged in, the Cal Data tab selected.
    void openOnCalData()
    {
        openWindow();
        logOn();
        ASSERT_TRUE(connection.header.headerValid);
        window->calData().setCalWindow({[this](const QString &text) { channelBox = text; },
                                        [this] { ++windowShown; }});
        ui().SSTab1->setCurrentIndex(MainTab::CalData);
    }

    QTableWidget &grid() { return *ui().MFGCal; }
    // The operator double-clicks the cell.
    void doubleClick(int row, int column)
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const QRect cellRect = grid().visualItemRect(grid().item(row, column));
        ASSERT_TRUE(grid().viewport()->rect().contains(cellRect.center()))
            << row << "," << column << " lies outside the grid";
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, cellRect.center());
        QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, cellRect.center());
    }
    QString cell(int row, int column)
    {
        const QTableWidgetItem *item = grid().item(row, column);
        return item ? item->text() : QString();
    }
    QStringList row(int r)
    {
        QStringList cells;
        for (int c = 0; c < grid().columnCount(); ++c)
            cells << cell(r, c);
        return cells;
    }

    QString channelBox;
    int windowShown = 0;
};
