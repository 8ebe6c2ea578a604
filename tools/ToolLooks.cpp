#include "tools/ToolLooks.h"

#include "controls/FormWindow.h"

#include <QVariant>

void ToolLooks::apply(FormWindow *window, const QStringList &onWindowColour)
{
    for (QWidget *widget : window->controls()) {
        if (!onWindowColour.contains(widget->property("designerName").toString()))
            continue;
        widget->setAutoFillBackground(true);
        widget->setBackgroundRole(QPalette::Base);
    }
}
