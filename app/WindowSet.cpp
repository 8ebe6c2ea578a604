#include "app/WindowSet.h"

#include "controls/FormWindow.h"

#include <QCoreApplication>

WindowSet::WindowSet(Factory factory) : m_factory(std::move(factory))
{
    m_endProcess = [] { QCoreApplication::exit(0); };
}

WindowSet::~WindowSet()
{
    // Later windows may refer to earlier ones while they go; delete in reverse.
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
        delete *it;
}

FormWindow *WindowSet::window(WindowId id)
{
    FormWindow *&slot = m_windows[int(id)];
    if (!slot) {
        slot = m_factory(id);
        QObject::connect(slot, &FormWindow::closed, slot, [this] { endProcess(); });
        slot->load();
    }
    return slot;
}

void WindowSet::show(WindowId id)
{
    FormWindow *w = window(id);
    w->show();
    w->activateWindow();
}

void WindowSet::hide(WindowId id)
{
    window(id)->hide();
}

void WindowSet::endProcess()
{
    if (m_endProcess)
        m_endProcess();
}

const char *WindowSet::nameOf(WindowId id)
{
    static constexpr const char *names[windowCount] = {"main",      "shuomingform", "gjfrmindex",
                                                       "gjfrmqzjs", "gjfrmdzjs",    "gjfrmdbjs",
                                                       "gjfrmbzjs", "gjfrmtljs",    "gjfrmcljs"};
    return names[int(id)];
}
