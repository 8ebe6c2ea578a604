#pragma once

#include <QPalette>

// The colours the windows were designed in: dark text on light controls,
// matching the fixed light artwork they are drawn on. Windows set it on
// themselves, so that a dark desktop palette, colour scheme or platform theme
// leaves them readable; dialogs and menus follow the desktop.
namespace DesignedLook {
QPalette palette();
} // namespace DesignedLook
