#include "help/shuomingform.h"

#include "app/AppTexts.h"

namespace {
using K = ControlKind;
using S = ControlState;

// clang-format off
const ControlSpec helpControls[] = {
    {"Picture1",      -1, K::PictureBox,    nullptr,      0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"WebBrowser2",   -1, K::WebBrowser,    "Picture1", 120, 2160, 11685, 6045, nullptr, nullptr, nullptr, nullptr, S::On, 1},
    {"wkxbjqbutton1", -1, K::NavigationBar, "Picture1", 120, 1515,  9615,  735, nullptr, nullptr, nullptr, nullptr, S::On, 2},
};
// clang-format on

constexpr WindowSpec helpSpec{"shuomingform", 11985, 8625, true, true};
} // namespace

shuomingform::shuomingform() : FormWindow(helpSpec, AppTexts::instructionsCaption(), helpControls) {}
