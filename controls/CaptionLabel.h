#pragma once

#include "controls/ClickableLabel.h"

// A label: its caption is always plain text, never markup, and it reports
// clicks; an actionable one is a link to screen readers.
class CaptionLabel : public ClickableLabel
{
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget *parent = nullptr);
    // The mouse pointer over the label: a picture with its hot spot at natural
    // size, drawn for the screen's pixel ratio, or fallback if it is missing.
    void setPointer(const QString &resource, QPoint hotSpot, Qt::CursorShape fallback);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showPointer();

    QString m_pointer;
    QPoint m_hotSpot;
    Qt::CursorShape m_fallback = Qt::ArrowCursor;
};
