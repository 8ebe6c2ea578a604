#include "app/WindowSet.h"

#include "app/FormWindow.h"

#include <QCoreApplication>

namespace {
WindowSet *g_instance = nullptr;
}

WindowSet::WindowSet(Factory factory) : m_factory(std::move(factory))
{
    Q_ASSERT(!g_instance);
    g_instance = this;
    m_endProcess = [] { QCoreApplication::exit(0); };
}

WindowSet::~WindowSet()
{
    // Later windows may refer to earlier ones while they go; delete in reverse.
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
        delete *it;
    g_instance = nullptr;
}

WindowSet &WindowSet::instance()
{
    Q_ASSERT(g_instance);
    return *g_instance;
}

FormWindow *WindowSet::window(WindowId id)
{
    FormWindow *&slot = m_windows[int(id)];
    if (!slot) {
        slot = m_factory(id);
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
