#pragma once

#include <QLabel>

// A label: its caption is always plain text, never markup, and it reports clicks.
class CaptionLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget *parent = nullptr);
    // The mouse pointer over the label: a picture with its hot spot at natural
    // size, drawn for the screen's pixel ratio, or fallback if it is missing.
    void setPointer(const QString &resource, QPoint hotSpot, Qt::CursorShape fallback);

Q_SIGNALS:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showPointer();

    QString m_pointer;
    QPoint m_hotSpot;
    Qt::CursorShape m_fallback = Qt::ArrowCursor;
};
