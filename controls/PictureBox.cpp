#include "controls/PictureBox.h"

#include <QMouseEvent>

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
}

void PictureBox::setPicture(const QString &resource)
{
    setPixmap(QPixmap(resource));
}

// The control takes its clicks: what lies beneath it, its container included, never sees them.
void PictureBox::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
