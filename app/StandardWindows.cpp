#include "app/StandardWindows.h"

#include "help/shuomingform.h"
#include "quote/MainWindow.h"
#include "tools/ToolWindows.h"

WindowSet::Factory standardWindows(StartMode mode)
{
    return [mode](WindowId id) -> FormWindow * {
        switch (id) {
        case WindowId::main:
            return new MainWindow(mode == StartMode::Full ? MainWindow::Start::Full
                                                          : MainWindow::Start::LayoutOnly);
        case WindowId::shuomingform:
            return new shuomingform;
        default:
            return createToolWindow(id);
        }
    };
}
