#pragma once

#include "app/WindowSet.h"

class FormWindow;

// The wall tile, wallpaper, paint and curtain pages: the frame of a tool
// window with static pictures only. They take no input and handle no clicks.
FormWindow *createPlaceholderWindow(WindowId id);
