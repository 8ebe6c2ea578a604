#include "controls/ToolsMenu.h"

#include "controls/LayoutBuilder.h"
#include "controls/PictureBox.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;

// The background first, so that the entries lie above it.
// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec menuControls[] = {
    {"Image1",    -1, K::Image,      nullptr,   0,    0, 2550, 6120, nullptr, nullptr, ":/art/menu-gradient.png", nullptr, S::On, -1},
    {"Picture1",   0, K::PictureBox, nullptr, 120,  360, 2270,  450, nullptr, nullptr, ":/art/menu-tool1.png", u"墙砖计算器", S::Hidden, 0, "Ctrl+1"},
    {"Picture1",   1, K::PictureBox, nullptr, 120,  390, 2270,  450, nullptr, nullptr, ":/art/menu-tool2.png", u"地砖计算器", S::On, 1, "Ctrl+2"},
    {"Picture1",   2, K::PictureBox, nullptr, 120, 1245, 2270,  450, nullptr, nullptr, ":/art/menu-tool3.png", u"地板计算器", S::On, 2, "Ctrl+3"},
    {"Picture1",   3, K::PictureBox, nullptr, 120, 2115, 2270,  450, nullptr, nullptr, ":/art/menu-tool4.png", u"壁纸计算器", S::Hidden, 3, "Ctrl+4"},
    {"Picture1",   4, K::PictureBox, nullptr, 120, 2970, 2270,  450, nullptr, nullptr, ":/art/menu-tool5.png", u"涂料计算器", S::Hidden, 4, "Ctrl+5"},
    {"Picture1",   5, K::PictureBox, nullptr, 120, 3840, 2270,  450, nullptr, nullptr, ":/art/menu-tool6.png", u"窗帘计算器", S::Hidden, 5, "Ctrl+6"},
};
// clang-format on
} // namespace

ToolsMenu::ToolsMenu(QWidget *parent) : QWidget(parent)
{
    const auto controls = LayoutBuilder::build(this, menuControls);
    for (qint16 index = 0; index < 6; ++index) {
        auto *entry = LayoutBuilder::require<PictureBox>(controls, u"Picture1(%1)"_s.arg(index));
        entry->setCursor(Qt::PointingHandCursor);
        // Each entry box shows its picture on the window colour.
        entry->setAutoFillBackground(true);
        entry->setBackgroundRole(QPalette::Base);
        connect(entry, &PictureBox::clicked, this, [this, index] { clickgjfrommeun(index); });
    }
}

void ToolsMenu::clickgjfrommeun(const qint16 &Index)
{
    if (Index >= 0 && Index < 6)
        Q_EMIT toolChosen(qint16(Index + 1));
}
