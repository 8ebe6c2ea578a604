#include "tools/ToolLooks.h"

#include "app/FormWindow.h"
#include "controls/CaptionLabel.h"

#include <QVariant>

void ToolLooks::apply(FormWindow *window, const QStringList &onWindowColour)
{
    for (QWidget *widget : window->controls()) {
        QPalette::ColorRole role = QPalette::NoRole;
        if (onWindowColour.contains(widget->property("designerName").toString()))
            role = QPalette::Base;
        else if (qobject_cast<CaptionLabel *>(widget))
            role = QPalette::Button;
        if (role == QPalette::NoRole)
            continue;
        widget->setAutoFillBackground(true);
        widget->setBackgroundRole(role);
    }
}
