#pragma once

#include <QWidget>

class CaptionLabel;
class PictureBox;

// The navigation bar on top of every window: five tab buttons and the
// highlight with its caption. Buttons 1, 2 and 5 switch between the main
// window, the tools index and the instructions window; 3 and 4 open vendor
// pages in the default browser.
class wkxbjqbutton : public QWidget
{
    Q_OBJECT
public:
    explicit wkxbjqbutton(QWidget *parent = nullptr);

    // Moves this bar's highlight to button meunnum (1, 2 or 5; others do nothing).
    void clickmeun(qint16 meunnum);
    // Shows the main window, tools index or instructions window for meunnum and hides the other two.
    void clickfrom(qint16 meunnum);

private:
    void buttonClicked(int meunnum);

    PictureBox *m_highlight = nullptr;
    CaptionLabel *m_caption = nullptr;
};
