#pragma once

#include "app/Navigation.h"
#include "app/WindowSet.h"
#include "platform/DesktopServices.h"
#include "quote/MainWindow.h"

// The program's nine windows: the one place that knows every window class.
// It makes each window on first use with the services it needs and wires its
// navigation bar and tools menu to the navigation between the windows.
class ProgramWindows : public WindowSet
{
public:
    // regionLine is the first line of city.txt, for the main window's region lists.
    ProgramWindows(const DesktopServices &services, QString regionLine,
                   MainWindow::Start start = MainWindow::Start::Full);

    Navigation &navigation() { return m_navigation; }

private:
    FormWindow *make(WindowId id);

    DesktopServices m_services;
    QString m_regionLine;
    MainWindow::Start m_start;
    Navigation m_navigation;
};
