#include "controls/ControlGeometry.h"

#include "controls/Twips.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char twipsProperty[] = "twipsRect";
}

QRect ControlGeometry::twips(const QWidget *control)
{
    return control->property(twipsProperty).toRect();
}

void ControlGeometry::place(QWidget *control, const QRect &twips)
{
    control->setProperty(twipsProperty, twips);
    control->setGeometry(Twips::toPixels(twips));
}

void ControlGeometry::setLeft(QWidget *control, int left)
{
    QRect r = twips(control);
    r.moveLeft(left);
    place(control, r);
}

void ControlGeometry::setTop(QWidget *control, int top)
{
    QRect r = twips(control);
    r.moveTop(top);
    place(control, r);
}
