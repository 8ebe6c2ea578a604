#include "tools/FloorTileCalculatorWindow.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;
constexpr char P[] = "Picture1";

// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec tileControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,    0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"wkxbjqbutton1", -1, K::NavigationBar, P,        120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 2},
    {"wkxbjqgjmenu1", -1, K::ToolsMenu,     P,        120, 2100,  2535, 6135, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"Image1",        -1, K::Image,         P,       2640, 2160,  9165,  750, nullptr, nullptr, ":/art/calc-header.png", nullptr, S::On, -1},
    {"Label1",        -1, K::Label,         P,       4080, 2520,   975,  255, u"地砖计算器", nullptr, nullptr, nullptr, S::On, 3},
    {"Label7",        -1, K::Label,         P,       3240, 3120,  3255,  255, u"·请输入房间大小", nullptr, nullptr, nullptr, S::On, 11},
    {"Label2",        -1, K::Label,         P,       3480, 3600,  1335,  255, u"房间宽度(米)：", nullptr, nullptr, nullptr, S::On, 4},
    {"fjktxt",        -1, K::TextBox,       P,       4920, 3600,  1500,  390, u"", nullptr, nullptr, u"房间宽度(米)", S::On, 13},
    {"fjclabel",      -1, K::Label,         P,       6720, 3600,  1335,  255, u"房间长度(米)：", nullptr, nullptr, nullptr, S::On, 5},
    {"fjctxt",        -1, K::TextBox,       P,       8160, 3600,  1500,  390, u"", nullptr, nullptr, u"房间长度(米)", S::On, 6},
    {"Label8",        -1, K::Label,         P,       3240, 4080,  3255,  255, u"·请选择要装修的瓷砖规格", nullptr, nullptr, nullptr, S::On, 12},
    {"Label4",        -1, K::Label,         P,       3480, 4560,  1095,  255, u"地砖规格：", nullptr, nullptr, nullptr, S::On, 7},
    {"guigelist",     -1, K::ComboBox,      P,       4920, 4560,  1500,  300, u"", u"300*300\n300*600\n450*450\n600*600\n600*900\n800*800\n1000*1000\n1200*1200", nullptr, u"地砖规格", S::On, 14},
    {"Label5",        -1, K::Label,         P,       3480, 5040,  1455,  255, u"地砖宽度(毫米)：", nullptr, nullptr, nullptr, S::On, 8},
    {"dzktxt",        -1, K::TextBox,       P,       4920, 5040,  1500,  390, u"", nullptr, nullptr, u"地砖宽度(毫米)", S::On, 15},
    {"Label6",        -1, K::Label,         P,       6720, 5040,  1575,  255, u"地砖长度(毫米)：", nullptr, nullptr, nullptr, S::On, 9},
    {"dzctxt",        -1, K::TextBox,       P,       8160, 5040,  1500,  390, u"", nullptr, nullptr, u"地砖长度(毫米)", S::On, 10},
    {"Picture2",      -1, K::PictureBox,    P,       3360, 5640,  1095,  495, nullptr, nullptr, ":/art/calc-button.png", u"计算", S::On, 16, "Ctrl+Return"},
    {"Label9",        -1, K::Label,         P,       4800, 5760,  2535,  255, u"不包含损耗，计算结果（块）:", nullptr, nullptr, nullptr, S::On, 17},
    {"jsrstxt",       -1, K::TextBox,       P,       7440, 5760,  1455,  375, u"0", nullptr, nullptr, u"计算结果（块）", S::On, 18},
};
// clang-format on

constexpr WindowSpec tileSpec{"gjfrmdzjs", 11985, 8610, true, false, calculatorKeys};
} // namespace

FloorTileCalculatorWindow::FloorTileCalculatorWindow(MessagePresenter &messages)
    : CalculatorWindow(tileSpec, u"地砖计算器"_s, tileControls, u"dzktxt"_s, u"dzctxt"_s, messages)
{
}
