#include "tools/ToolWindows.h"

#include "app/FormWindow.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;

// clang-format off
const ControlSpec frameControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,      0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"wkxbjqgjmenu1", -1, K::ToolsMenu,     "Picture1", 120, 2100,  2535, 6135, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"wkxbjqbutton1", -1, K::NavigationBar, "Picture1", 120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 2},
};
// clang-format on

struct ToolWindowInfo
{
    WindowSpec spec;
    const char16_t *caption;
};

ToolWindowInfo infoOf(WindowId id)
{
    switch (id) {
    case WindowId::gjfrmindex:
        return {{"gjfrmindex", 11985, 8610, false, true}, u"家装工具"};
    case WindowId::gjfrmqzjs:
        return {{"gjfrmqzjs", 12015, 8655, false, false}, u"Form1"};
    case WindowId::gjfrmdzjs:
        return {{"gjfrmdzjs", 11985, 8610, true, false}, u"地砖计算器"};
    case WindowId::gjfrmdbjs:
        return {{"gjfrmdbjs", 11985, 8610, true, false}, u"地板计算器"};
    case WindowId::gjfrmbzjs:
        return {{"gjfrmbzjs", 11985, 8610, true, false}, u"Form1"};
    case WindowId::gjfrmtljs:
        return {{"gjfrmtljs", 11985, 8610, true, false}, u"Form1"};
    default:
        return {{"gjfrmcljs", 11985, 8595, true, false}, u"Form1"};
    }
}
} // namespace

FormWindow *createToolWindow(WindowId id)
{
    const ToolWindowInfo info = infoOf(id);
    return new FormWindow(info.spec, QString::fromUtf16(info.caption), frameControls);
}
