#include "tools/FloorBoardCalculatorWindow.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;
constexpr char P[] = "Picture1";

// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec boardControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,    0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"wkxbjqbutton1", -1, K::NavigationBar, P,        120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 2},
    {"wkxbjqgjmenu1", -1, K::ToolsMenu,     P,        120, 2100,  2535, 6135, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"Image1",        -1, K::Image,         P,       2640, 2160,  9165,  750, nullptr, nullptr, ":/art/calc-header.png", nullptr, S::On, -1},
    {"Label1",        -1, K::Label,         P,       4080, 2520,   975,  255, u"地板计算器", nullptr, nullptr, nullptr, S::On, 15},
    {"Label7",        -1, K::Label,         P,       3240, 3120,  3255,  255, u"·请输入房间大小", nullptr, nullptr, nullptr, S::On, 9},
    {"Label2",        -1, K::Label,         P,       3480, 3600,  1335,  255, u"房间宽度(米)：", nullptr, nullptr, nullptr, S::On, 14},
    {"fjktxt",        -1, K::TextBox,       P,       5040, 3600,  1500,  390, u"", nullptr, nullptr, u"房间宽度(米)", S::On, 5},
    {"Label3",        -1, K::Label,         P,       6720, 3600,  1335,  255, u"房间长度(米)：", nullptr, nullptr, nullptr, S::On, 13},
    {"fjctxt",        -1, K::TextBox,       P,       8160, 3600,  1500,  390, u"", nullptr, nullptr, u"房间长度(米)", S::On, 7},
    {"Label8",        -1, K::Label,         P,       3240, 4200,  3255,  255, u"·请选择要装修的瓷砖规格", nullptr, nullptr, nullptr, S::On, 8},
    {"Label4",        -1, K::Label,         P,       3480, 4680,  1095,  375, u"地板规格：", nullptr, nullptr, nullptr, S::On, 12},
    {"guigelist",     -1, K::ComboBox,      P,       5040, 4680,  1500,  300, u"", u"910*122\n910*123\n910*125\n910*921\n700*2400\n910*153\n1210*165", nullptr, u"地板规格", S::On, 4},
    {"Label5",        -1, K::Label,         P,       3480, 5160,  1455,  255, u"地板宽度(毫米)：", nullptr, nullptr, nullptr, S::On, 11},
    {"dbktxt",        -1, K::TextBox,       P,       5040, 5160,  1500,  390, u"", nullptr, nullptr, u"地板宽度(毫米)", S::On, 3},
    {"Label6",        -1, K::Label,         P,       6720, 5160,  1455,  255, u"地板长度(毫米)：", nullptr, nullptr, nullptr, S::On, 10},
    {"dbctxt",        -1, K::TextBox,       P,       8160, 5160,  1500,  390, u"", nullptr, nullptr, u"地板长度(毫米)", S::On, 6},
    {"Picture2",      -1, K::PictureBox,    P,       3480, 5760,  1095,  495, nullptr, nullptr, ":/art/calc-button.png", u"计算", S::On, 16, "Ctrl+Return"},
    {"Label17",       -1, K::Label,         P,       4800, 5880,  1695,  375, u"计算结果（块）:", nullptr, nullptr, nullptr, S::On, 17},
    {"jsrstxt",       -1, K::TextBox,       P,       6600, 5880,  1335,  375, u"0", nullptr, nullptr, u"计算结果（块）", S::On, 18},
};
// clang-format on

constexpr WindowSpec boardSpec{"gjfrmdbjs", 11985, 8610, true, false, calculatorKeys};
} // namespace

FloorBoardCalculatorWindow::FloorBoardCalculatorWindow(MessagePresenter &messages)
    : CalculatorWindow(boardSpec, u"地板计算器"_s, boardControls, u"dbktxt"_s, u"dbctxt"_s, messages)
{
}
