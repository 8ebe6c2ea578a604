#pragma once

// How the embedded browser engine draws its pages.
enum class EngineDrawing
{
    // Qt Quick's software renderer draws the engine's view and the engine
    // composes without the GPU: no window needs an OpenGL surface, no OpenGL
    // context is made and no OpenGL driver is loaded.
    software,
    // OpenGL, as the engine does by default, with the share context it needs.
    openGL,
};

// Sets up the engine's environment; called before QApplication is made. The
// pages the program shows (the loading page, the news page read in the
// background, the instructions) are drawn in software unless the user chose
// GPU drawing: QT_QUICK_BACKEND (or QMLSCENE_DEVICE) set to anything but
// "software", QSG_RHI_BACKEND set, or a GPU switch in
// QTWEBENGINE_CHROMIUM_FLAGS (--enable-gpu…, --use-gl=…, --use-angle=…,
// --ignore-gpu-blocklist).
// Returns the way chosen.
EngineDrawing prepareEngineEnvironment();
