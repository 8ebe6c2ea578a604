#pragma once

#include "app/WindowSet.h"

class FormWindow;

// Creates the program's window for an id; the main window starts in full
// (timer, pages) or only lays itself out.
enum class StartMode
{
    Full,
    LayoutOnly
};
WindowSet::Factory standardWindows(StartMode mode);
