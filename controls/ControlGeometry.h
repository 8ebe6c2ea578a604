#pragma once

#include <QRect>

class QWidget;

// Positions of controls in twips. The twips rectangle is kept on the widget,
// so that moves by whole twips survive the rounding to pixels.
namespace ControlGeometry {
QRect twips(const QWidget *control);
void place(QWidget *control, const QRect &twips);
void setLeft(QWidget *control, int left);
void setTop(QWidget *control, int top);
} // namespace ControlGeometry
