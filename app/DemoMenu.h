#pragma once

class DemoLogger;
class QMainWindow;
class QMenu;

// The Demo menu of the main window: pulls the demo logger out and plugs it
// in again as on a real bench, forces clip readings and changes its firmware.
class DemoMenu
{
public:
    static void add(QMainWindow &window, DemoLogger &demo);

private:
    static void addReadingActions(QMenu &menu, DemoLogger &demo);
};
