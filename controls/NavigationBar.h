#pragma once

#include <QWidget>

#include <array>

class CaptionLabel;
class PictureBox;

// The navigation bar on top of every window (object name wkxbjqbutton1):
// five tab buttons and the highlight with its caption. A click on a button
// reports its number; which window or page that leads to is decided above.
// Alt+1 … Alt+5 click the buttons.
class NavigationBar : public QWidget
{
    Q_OBJECT
public:
    explicit NavigationBar(QWidget *parent = nullptr);

    // Moves this bar's highlight to button meunnum (1, 2 or 5; others do nothing).
    void clickmeun(qint16 meunnum);

Q_SIGNALS:
    // Button meunnum (1 … 5) was clicked.
    void buttonChosen(qint16 meunnum);

private:
    void chooseButton(int button);
    void markCurrent(int button, const QString &caption);

    std::array<PictureBox *, 5> m_buttons{};
    int m_current = 0; // index of the button under the highlight
    PictureBox *m_highlight = nullptr;
    CaptionLabel *m_caption = nullptr;
};
