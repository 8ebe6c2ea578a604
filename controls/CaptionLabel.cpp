#include "controls/CaptionLabel.h"

#include "controls/Artwork.h"

#include <QPainter>
#include <QStyle>

namespace {
// Captions up to this length are painted by the label itself.
constexpr qsizetype plainPaintLimit = 4096;
} // namespace

CaptionLabel::CaptionLabel(QWidget *parent)
    : ClickableLabel(QAccessible::Link, QAccessible::StaticText, parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CaptionLabel::setPointer(const QString &resource, QPoint hotSpot, Qt::CursorShape fallback)
{
    m_pointer = resource;
    m_hotSpot = hotSpot;
    m_fallback = fallback;
    showPointer();
}

void CaptionLabel::showPointer()
{
    const QPixmap picture = Artwork::pixmap(m_pointer, devicePixelRatioF());
    setCursor(picture.isNull() ? QCursor(m_fallback) : Artwork::cursor(picture, m_hotSpot));
}

// On a screen of another pixel ratio the pointer is drawn anew for it.
bool CaptionLabel::event(QEvent *event)
{
    if (Artwork::isScreenChange(event) && !m_pointer.isEmpty())
        showPointer();
    return ClickableLabel::event(event);
}

// A caption may be any text a web page sent, megabytes long. The label clips
// it, so only the part that can show is laid out: as many lines as fit, each
// no longer than the label is wide in pixels (no character is narrower).
void CaptionLabel::paintEvent(QPaintEvent *event)
{
    const QString caption = text();
    if (caption.size() <= plainPaintLimit) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const int lines = area.height() / std::max(1, fontMetrics().lineSpacing()) + 1;
    const qsizetype perLine = area.width() + 1;
    QString shown;
    qsizetype from = 0;
    for (int line = 0; line < lines && from <= caption.size(); ++line) {
        qsizetype end = caption.indexOf(u'\n', from);
        if (end < 0)
            end = caption.size();
        if (line > 0)
            shown += u'\n';
        shown += QStringView(caption).mid(from, std::min(end - from, perLine));
        from = end + 1;
    }
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, area, int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), shown, foregroundRole());
}
