#pragma once

#include <QList>

#include <array>
#include <functional>

class FormWindow;

enum class WindowId
{
    quote,        // main
    instructions, // shuomingform
    toolsIndex,   // gjfrmindex
    wallTiles,    // gjfrmqzjs
    floorTiles,   // gjfrmdzjs
    floorBoards,  // gjfrmdbjs
    wallpaper,    // gjfrmbzjs
    paint,        // gjfrmtljs
    curtains,     // gjfrmcljs
};
inline constexpr int windowCount = 9;

// The nine windows of the program. Each exists at most once: it is created
// and loaded on first use (show, hide or access to its controls) and kept
// until the process ends, so it keeps its field contents between visits.
class WindowSet
{
public:
    using Factory = std::function<FormWindow *(WindowId)>;

    explicit WindowSet(Factory factory);
    ~WindowSet();
    WindowSet(const WindowSet &) = delete;
    WindowSet &operator=(const WindowSet &) = delete;

    FormWindow *window(WindowId id);
    FormWindow *existing(WindowId id) const { return m_windows[int(id)]; }
    void show(WindowId id);
    void hide(WindowId id);

    // Closing any window ends the process; tests replace what that does.
    void setEndProcess(std::function<void()> endProcess) { m_endProcess = std::move(endProcess); }
    void endProcess();

    static const char *nameOf(WindowId id);
    static constexpr std::array<WindowId, 6> toolWindows = {WindowId::wallTiles,   WindowId::floorTiles,
                                                            WindowId::floorBoards, WindowId::wallpaper,
                                                            WindowId::paint,       WindowId::curtains};

private:
    Factory m_factory;
    std::array<FormWindow *, windowCount> m_windows{};
    std::function<void()> m_endProcess;
};
