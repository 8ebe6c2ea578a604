#pragma once

#include "controls/ClickableLabel.h"

// A picture box or image control: shows its picture at natural size in the
// upper left corner, with the pixels of the screen it is on, and reports
// clicks; an actionable one is a button to screen readers.
class PictureBox : public ClickableLabel
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    void setPicture(const QString &resource);
    QString picture() const { return m_picture; }

protected:
    bool event(QEvent *event) override;

private:
    void showPicture();

    QString m_picture;
};
