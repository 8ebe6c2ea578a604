#pragma once

#include <QLabel>

// A label: its caption is always plain text, never markup, and it reports clicks.
class CaptionLabel : public QLabel
{
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
