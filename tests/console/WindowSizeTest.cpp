#include "console/MainTab.h"
#include "tests/console/MainWindowFixture.h"

#include "console/LoggerStatusView.h"

#include <QDir>
#include <QLayout>

namespace {

// A 1366x768 laptop screen less a taskbar and the window's title bar.
const QSize LaptopClientArea(1366, 700);

} // namespace

class WindowSize : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        loadConfigured();
        window->ui().CmdLogOn->click();
        window->show();
    }

    // Lays the window out at the given size, with the tab on top.
    void showTabAt(int tab, const QSize &size)
    {
        window->ui().SSTab1->setCurrentIndex(tab);
        window->resize(size);
        window->layout()->activate();
        window->ui().SSTab1->currentWidget()->layout()->activate();
        QCoreApplication::processEvents();
    }
};

TEST_F(WindowSize, EveryTabFitsALaptopScreen)
{
    for (int tab = 0; tab < window->ui().SSTab1->count(); ++tab) {
        SCOPED_TRACE(window->ui().SSTab1->tabText(tab).toStdString());
        showTabAt(tab, LaptopClientArea);
        const QSize minimum = window->minimumSizeHint();
        EXPECT_LE(minimum.width(), LaptopClientArea.width());
        EXPECT_LE(minimum.height(), LaptopClientArea.height());
        EXPECT_EQ(window->size(), LaptopClientArea) << "the window can be made that small";
        QWidget *page = window->ui().SSTab1->currentWidget();
        EXPECT_LE(page->minimumSizeHint().height(), page->height())
            << "nothing on the page is squeezed out of sight";
    }
    EXPECT_LE(window->sizeHint().height(), LaptopClientArea.height());
}

TEST_F(WindowSize, TheWindowOpensWithinTheLaptopScreen)
{
    auto fresh = std::make_unique<FrmStartup>(loop, dialogs, printer, settings, connection,
                                              FrmStartup::Options{dataFolder, false});
    EXPECT_LE(fresh->width(), LaptopClientArea.width());
    EXPECT_LE(fresh->height(), LaptopClientArea.height());
}

TEST_F(WindowSize, DefaultsTabScrollsInsteadOfSqueezing)
{
    showTabAt(MainTab::Defaults, window->minimumSizeHint());
    const QWidget *contents = window->ui().defaultsContents;
    EXPECT_GE(contents->height(), contents->minimumSizeHint().height())
        << "the fields keep their height and the tab scrolls";
}

TEST_F(WindowSize, TheContentGrowsWithTheWindow)
{
    const QSize small = window->minimumSizeHint();
    const QSize large(1366, 700);
    ASSERT_LT(small.width(), large.width());
    ASSERT_LT(small.height(), large.height());

    struct Grows
    {
        int tab;
        QWidget *widget;
        bool wider;
        bool taller;
    };
    Ui::FrmStartup &ui = window->ui();
    const Grows cases[] = {
        {MainTab::DataLogger, ui.statusViewArea, true, false},
        {MainTab::Setup, ui.lblActCh8, true, false},
        {MainTab::Defaults, ui.Dir1, true, true},
        {MainTab::Defaults, ui.TxtDir, true, false},
        {MainTab::Passwords, ui.TxtAdminPassword, true, false},
    };
    for (const Grows &c : cases) {
        SCOPED_TRACE(c.widget->objectName().toStdString());
        showTabAt(c.tab, small);
        const QSize before = c.widget->size();
        showTabAt(c.tab, large);
        const QSize after = c.widget->size();
        if (c.wider)
            EXPECT_GT(after.width(), before.width());
        if (c.taller)
            EXPECT_GT(after.height(), before.height());
    }
}
