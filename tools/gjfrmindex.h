#pragma once

#include "app/FormWindow.h"

// The tools index: one tile per tool beside the side menu; a tile opens its
// tool exactly as the matching side-menu entry does.
class gjfrmindex : public FormWindow
{
    Q_OBJECT
public:
    gjfrmindex();
};
