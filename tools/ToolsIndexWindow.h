#pragma once

#include "controls/FormWindow.h"

// The tools index (object name gjfrmindex): one tile per tool beside the side menu; a tile opens its
// tool exactly as the matching side-menu entry does.
class ToolsIndexWindow : public FormWindow
{
    Q_OBJECT
public:
    ToolsIndexWindow();
};
