#pragma once

class FormWindow;

enum class PlaceholderTool
{
    WallTiles,
    Wallpaper,
    Paint,
    Curtains
};

// The wall tile, wallpaper, paint and curtain pages: the frame of a tool
// window with static pictures only. They take no input and handle no clicks.
FormWindow *createPlaceholderWindow(PlaceholderTool tool);
