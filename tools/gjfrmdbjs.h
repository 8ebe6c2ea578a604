#pragma once

#include "tools/CalculatorWindow.h"

// Floor board calculator, tool 3: the tile calculator's twin with its own
// layout and sizes; it highlights the tools button once, when loaded.
class gjfrmdbjs : public CalculatorWindow
{
    Q_OBJECT
public:
    gjfrmdbjs();
    void load() override;
};
