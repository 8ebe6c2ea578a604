#pragma once

#include <QStringList>

class FormWindow;

namespace ToolLooks {
// Labels are opaque on the button face, as labels are by default; the
// controls named in onWindowColour (by designer name) fill with the window
// colour instead.
void apply(FormWindow *window, const QStringList &onWindowColour);
} // namespace ToolLooks
