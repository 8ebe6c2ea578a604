#include "controls/PictureBox.h"

#include "controls/Artwork.h"

PictureBox::PictureBox(QWidget *parent) : ClickableLabel(QAccessible::Button, QAccessible::Graphic, parent)
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
    return ClickableLabel::event(event);
}
