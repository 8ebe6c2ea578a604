#include "help/InstructionsWindow.h"

#include "app/core/AppTexts.h"
#include "platform/Browser.h"

#include <QMouseEvent>

#include <utility>

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;

// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec helpControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,      0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"WebBrowser2",   -1, K::WebBrowser,    "Picture1", 120, 2160, 11685, 6045, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"wkxbjqbutton1", -1, K::NavigationBar, "Picture1", 120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 2},
};
// clang-format on

constexpr WindowSpec helpSpec{"shuomingform", 11985, 8625,
                              true,           true,  u"快捷键：Alt+1 自动报价；Alt+2 家装工具。"};
} // namespace

InstructionsWindow::InstructionsWindow(const BrowserFactory &browsers)
    : FormWindow(helpSpec, AppTexts::instructionsCaption(), helpControls, browsers),
      m_background(require<QWidget>(u"Picture1"_s)), m_browser(requireBrowser(u"WebBrowser2"_s))
{
    m_background->installEventFilter(this);
}

void InstructionsWindow::load()
{
    showInstructions();
}

void InstructionsWindow::showInstructions()
{
    m_browser->navigate(AppTexts::softUrl(u"/softload/explain.html"_s));
}

bool InstructionsWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Presses and releases that a child of the background (the navigation
    // bar, its buttons) leaves unhandled reach the background as well; only a
    // click that starts and ends on the bare background counts.
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (watched == m_background && (press || event->type() == QEvent::MouseButtonRelease)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        const bool bare = mouse->button() == Qt::LeftButton && m_background->rect().contains(at) &&
                          !m_background->childAt(at);
        if (press)
            m_backgroundPressed = bare;
        else if (std::exchange(m_backgroundPressed, false) && bare)
            showInstructions();
    }
    return FormWindow::eventFilter(watched, event);
}
