#pragma once

#include "tools/CalculatorWindow.h"

// Floor tile calculator, tool 2. Its bar highlights the tools button
// whenever the window is drawn.
class gjfrmdzjs : public CalculatorWindow
{
    Q_OBJECT
public:
    gjfrmdzjs();

protected:
    void paintEvent(QPaintEvent *event) override;
};
