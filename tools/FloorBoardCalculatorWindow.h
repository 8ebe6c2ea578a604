#pragma once

#include "tools/CalculatorWindow.h"

// Floor board calculator, tool 3 (object name gjfrmdbjs): the tile
// calculator's twin with its own layout and sizes.
class FloorBoardCalculatorWindow : public CalculatorWindow
{
    Q_OBJECT
public:
    explicit FloorBoardCalculatorWindow(MessagePresenter &messages);
};
