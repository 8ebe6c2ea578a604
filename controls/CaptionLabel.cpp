#include "controls/CaptionLabel.h"

#include <QMouseEvent>

CaptionLabel::CaptionLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// The control takes its clicks: what lies beneath it, its container included, never sees them.
void CaptionLabel::mousePressEvent(QMouseEvent *event) { event->accept(); }

void CaptionLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
