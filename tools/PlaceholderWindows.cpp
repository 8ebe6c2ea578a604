#include "tools/PlaceholderWindows.h"

#include "controls/FormWindow.h"
#include "tools/ToolLooks.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;
constexpr char P[] = "Picture1";

// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec wallTileControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,    0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"wkxbjqgjmenu1", -1, K::ToolsMenu,     P,        120, 2100,  2535, 6135, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"wkxbjqbutton1", -1, K::NavigationBar, P,        120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 2},
    {"Image1",        -1, K::Image,         P,       2640, 2160,  9165,  750, nullptr, nullptr, ":/art/calc-header.png", nullptr, S::On, -1},
    {"Label1",        -1, K::Label,         P,       4320, 2520,   975,  255, u"墙砖计算器", nullptr, nullptr, nullptr, S::On, 3},
};

// The tiles of all six tools, in index order; shared by three pages.
const ControlSpec tileGridControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,    0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"Picture2",       0, K::PictureBox,    P,       4080, 2640,  1695, 2055, nullptr, nullptr, ":/art/tile-tool1.png", u"墙砖计算器", S::On, 6},
    {"Picture2",       1, K::PictureBox,    P,       6300, 2640,  1695, 2055, nullptr, nullptr, ":/art/tile-tool2.png", u"地砖计算器", S::On, 5},
    {"Picture2",       2, K::PictureBox,    P,       8520, 2640,  1695, 2055, nullptr, nullptr, ":/art/tile-tool3.png", u"地板计算器", S::On, 4},
    {"Picture2",       3, K::PictureBox,    P,       4080, 5040,  1695, 2055, nullptr, nullptr, ":/art/tile-tool4.png", u"壁纸计算器", S::On, 3},
    {"Picture2",       4, K::PictureBox,    P,       6360, 5040,  1695, 2055, nullptr, nullptr, ":/art/tile-tool5.png", u"涂料计算器", S::On, 2},
    {"Picture2",       5, K::PictureBox,    P,       8520, 5040,  1695, 2055, nullptr, nullptr, ":/art/tile-tool6.png", u"窗帘计算器", S::On, 1},
    {"wkxbjqgjmenu1", -1, K::ToolsMenu,     P,        120, 2100,  2535, 6135, nullptr, nullptr, nullptr, nullptr, S::On, 7},
    {"wkxbjqbutton1", -1, K::NavigationBar, P,        120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 8},
};
// clang-format on
} // namespace

FormWindow *createPlaceholderWindow(PlaceholderTool tool)
{
    FormWindow *window = nullptr;
    switch (tool) {
    case PlaceholderTool::WallTiles:
        window = new FormWindow({"gjfrmqzjs", 12015, 8655, false, false}, u"Form1"_s, wallTileControls);
        break;
    case PlaceholderTool::Wallpaper:
        window = new FormWindow({"gjfrmbzjs", 11985, 8610, true, false}, u"Form1"_s, tileGridControls);
        break;
    case PlaceholderTool::Paint:
        window = new FormWindow({"gjfrmtljs", 11985, 8610, true, false}, u"Form1"_s, tileGridControls);
        break;
    case PlaceholderTool::Curtains:
        window = new FormWindow({"gjfrmcljs", 11985, 8595, true, false}, u"Form1"_s, tileGridControls);
        break;
    }
    ToolLooks::apply(window, {u"Label1"_s, u"Picture2"_s});
    return window;
}
