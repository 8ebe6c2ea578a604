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

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}
