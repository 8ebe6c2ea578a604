#pragma once

#include "tools/CalculatorWindow.h"

// Floor tile calculator, tool 2 (object name gjfrmdzjs).
class FloorTileCalculatorWindow : public CalculatorWindow
{
    Q_OBJECT
public:
    explicit FloorTileCalculatorWindow(MessagePresenter &messages);
};
