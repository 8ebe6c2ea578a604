#include "app/Navigation.h"

#include "app/WindowSet.h"
#include "app/core/AppTexts.h"
#include "controls/FormWindow.h"
#include "controls/NavigationBar.h"
#include "controls/ToolsMenu.h"
#include "platform/core/ShellOpener.h"

using namespace Qt::StringLiterals;

namespace {
// The window that buttons 1, 2 and 5 lead to.
WindowId windowOf(qint16 meunnum)
{
    switch (meunnum) {
    case 2:
        return WindowId::toolsIndex;
    case 5:
        return WindowId::instructions;
    default:
        return WindowId::quote;
    }
}
} // namespace

Navigation::Navigation(WindowSet &windows, ShellOpener &shell) : m_windows(windows), m_shell(shell) {}

void Navigation::wire(FormWindow *window)
{
    if (NavigationBar *bar = window->navigationBar())
        QObject::connect(bar, &NavigationBar::buttonChosen, bar, [this](qint16 n) { buttonChosen(n); });
    if (ToolsMenu *menu = window->toolsMenu())
        QObject::connect(menu, &ToolsMenu::toolChosen, menu, [this](qint16 n) { toolChosen(n); });
}

void Navigation::buttonChosen(qint16 meunnum)
{
    switch (meunnum) {
    case 3:
        m_shell.open(AppTexts::webUrl(u"/zxpic.htm"_s));
        return;
    case 4:
        m_shell.open(AppTexts::webUrl(u"/MemberPrice.htm"_s));
        return;
    default:
        break;
    }
    m_windows.window(windowOf(meunnum))->navigationBar()->clickmeun(meunnum);
    // The switch belongs to the tools index's bar: that window is made next.
    m_windows.window(WindowId::toolsIndex);
    clickfrom(meunnum);
    hidegjfrom();
}

void Navigation::clickfrom(qint16 meunnum)
{
    for (const auto &[number, id] : {std::pair{1, WindowId::quote}, std::pair{2, WindowId::toolsIndex},
                                     std::pair{5, WindowId::instructions}}) {
        if (meunnum == number)
            m_windows.show(id);
        else
            m_windows.hide(id);
    }
}

void Navigation::hidegjfrom()
{
    for (WindowId id : WindowSet::toolWindows)
        m_windows.hide(id);
}

void Navigation::toolChosen(qint16 gjmeunnum)
{
    if (gjmeunnum < 1 || gjmeunnum > 6)
        return;
    m_windows.window(WindowSet::toolWindows[gjmeunnum - 1]);
    clickgjfrom(gjmeunnum);
}

void Navigation::clickgjfrom(qint16 gjmeunnum)
{
    for (int k = 1; k <= 6; ++k) {
        const WindowId id = WindowSet::toolWindows[k - 1];
        if (gjmeunnum == k)
            m_windows.show(id);
        else
            m_windows.hide(id);
    }
    m_windows.hide(WindowId::toolsIndex);
}
