#pragma once

#include <QtGlobal>

class FormWindow;
class ShellOpener;
class WindowSet;

// Moving between the windows: what a click on a navigation bar button or on
// a tools menu entry leads to. Buttons 1, 2 and 5 switch between the main
// window, the tools index and the instructions window; 3 and 4 open vendor
// pages in the default browser; a tool entry shows its tool window.
class Navigation
{
public:
    Navigation(WindowSet &windows, ShellOpener &shell);

    // Connects the navigation bar and tools menu of a window just made.
    void wire(FormWindow *window);

    // Button meunnum (1 … 5) of any navigation bar was clicked.
    void buttonChosen(qint16 meunnum);
    // Shows the main window, tools index or instructions window for meunnum and hides the other two.
    void clickfrom(qint16 meunnum);
    // Hides the six tool windows, creating them hidden where they do not exist yet.
    void hidegjfrom();
    // Tool gjmeunnum (1 … 6) was chosen in a tools menu or on the tools index.
    void toolChosen(qint16 gjmeunnum);
    // Shows tool window gjmeunnum (1 … 6) and hides the other five and the tools index.
    void clickgjfrom(qint16 gjmeunnum);

private:
    WindowSet &m_windows;
    ShellOpener &m_shell;
};
