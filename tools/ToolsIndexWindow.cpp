#include "tools/ToolsIndexWindow.h"

#include "controls/PictureBox.h"
#include "controls/ToolsMenu.h"
#include "tools/ToolLooks.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;
constexpr char P[] = "Picture1";

// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec indexControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,    0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"wkxbjqbutton1", -1, K::NavigationBar, P,        120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"wkxbjqgjmenu1", -1, K::ToolsMenu,     P,        120, 2100,  2535, 6135, nullptr, nullptr, nullptr, nullptr, S::On, 2},
    {"Picture2",       0, K::PictureBox,    P,       8640, 2640,  1695, 2055, nullptr, nullptr, ":/art/tile-tool1.png", u"墙砖计算器", S::Hidden, 3, "Ctrl+1"},
    {"Picture2",       1, K::PictureBox,    P,       4020, 2640,  1695, 2055, nullptr, nullptr, ":/art/tile-tool2.png", u"地砖计算器", S::On, 4, "Ctrl+2"},
    {"Picture2",       2, K::PictureBox,    P,       6240, 2640,  1695, 2055, nullptr, nullptr, ":/art/tile-tool3.png", u"地板计算器", S::On, 5, "Ctrl+3"},
    {"Picture2",       3, K::PictureBox,    P,       4080, 5040,  1695, 2055, nullptr, nullptr, ":/art/tile-tool4.png", u"壁纸计算器", S::Hidden, 6, "Ctrl+4"},
    {"Picture2",       4, K::PictureBox,    P,       6360, 5040,  1695, 2055, nullptr, nullptr, ":/art/tile-tool5.png", u"涂料计算器", S::Hidden, 7, "Ctrl+5"},
    {"Picture2",       5, K::PictureBox,    P,       8520, 5040,  1695, 2055, nullptr, nullptr, ":/art/tile-tool6.png", u"窗帘计算器", S::Hidden, 8, "Ctrl+6"},
};
// clang-format on

constexpr WindowSpec indexSpec{
    "gjfrmindex", 11985, 8610,
    false,        true,  u"快捷键：Ctrl+2 地砖计算器；Ctrl+3 地板计算器；Alt+1 自动报价；Alt+5 使用说明。"};
} // namespace

ToolsIndexWindow::ToolsIndexWindow() : FormWindow(indexSpec, u"家装工具"_s, indexControls)
{
    for (qint16 index = 0; index < 6; ++index) {
        auto *tile = require<PictureBox>(u"Picture2(%1)"_s.arg(index));
        tile->setCursor(Qt::PointingHandCursor);
        connect(tile, &PictureBox::clicked, this,
                [menu = toolsMenu(), index] { menu->clickgjfrommeun(index); });
    }
    ToolLooks::apply(this, {u"Picture2"_s});
}
