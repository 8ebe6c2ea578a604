#include "app/ProgramWindows.h"

#include "help/InstructionsWindow.h"
#include "tools/FloorBoardCalculatorWindow.h"
#include "tools/FloorTileCalculatorWindow.h"
#include "tools/PlaceholderWindows.h"
#include "tools/ToolsIndexWindow.h"

ProgramWindows::ProgramWindows(const DesktopServices &services, QString regionLine, MainWindow::Start start)
    : WindowSet([this](WindowId id) { return make(id); }), m_services(services),
      m_regionLine(std::move(regionLine)), m_start(start), m_navigation(*this, services.shell)
{
}

FormWindow *ProgramWindows::make(WindowId id)
{
    FormWindow *window = nullptr;
    switch (id) {
    case WindowId::quote:
        window = new MainWindow(m_services, m_regionLine, m_start);
        break;
    case WindowId::instructions:
        window = new InstructionsWindow(m_services.browsers);
        break;
    case WindowId::toolsIndex:
        window = new ToolsIndexWindow;
        break;
    case WindowId::floorTiles:
        window = new FloorTileCalculatorWindow(m_services.messages);
        break;
    case WindowId::floorBoards:
        window = new FloorBoardCalculatorWindow(m_services.messages);
        break;
    case WindowId::wallTiles:
        window = createPlaceholderWindow(PlaceholderTool::WallTiles);
        break;
    case WindowId::wallpaper:
        window = createPlaceholderWindow(PlaceholderTool::Wallpaper);
        break;
    case WindowId::paint:
        window = createPlaceholderWindow(PlaceholderTool::Paint);
        break;
    case WindowId::curtains:
        window = createPlaceholderWindow(PlaceholderTool::Curtains);
        break;
    }
    m_navigation.wire(window);
    return window;
}
