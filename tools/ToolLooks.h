#pragma once

#include <QStringList>

class FormWindow;

namespace ToolLooks {
// The controls named in onWindowColour (by designer name) fill with the
// window colour; other labels stay clear, as on the main window, so that the
// white panel reads as one surface.
void apply(FormWindow *window, const QStringList &onWindowColour);
} // namespace ToolLooks
