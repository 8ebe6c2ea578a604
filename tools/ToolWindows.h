#pragma once

#include "app/WindowSet.h"

class FormWindow;

// The tools index and the six tool windows.
FormWindow *createToolWindow(WindowId id);
