#include "controls/PictureBox.h"

#include "controls/Artwork.h"

#include <QMouseEvent>

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
}

void PictureBox::setPicture(const QString &resource)
{
    m_picture = resource;
    showPicture();
}

void PictureBox::showPicture()
{
    setPixmap(Artwork::pixmap(m_picture, devicePixelRatioF()));
}

// On a screen of another pixel ratio the picture is drawn anew for it.
bool PictureBox::event(QEvent *event)
{
    if (Artwork::isScreenChange(event) && !m_picture.isEmpty())
        showPicture();
    return QLabel::event(event);
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
