#pragma once

#include <QLabel>

// A picture box or image control: shows its picture at natural size in the
// upper left corner, with the pixels of the screen it is on, and reports clicks.
class PictureBox : public QLabel
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    void setPicture(const QString &resource);
    QString picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void showPicture();

    QString m_picture;
};
