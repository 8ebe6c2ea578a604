#pragma once

#include <QJsonArray>

class WindowSet;

// Describes every window of the set and every control in it, as laid out:
// designer names, kinds, containers, twips rectangles, texts, lists, state,
// tab indexes and stacking. Creates the windows that do not exist yet.
QJsonArray dumpWindows(WindowSet &windows);
