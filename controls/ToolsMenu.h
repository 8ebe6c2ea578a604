#pragma once

#include <QWidget>

// The tools side menu of the tools index and the tool windows (object name
// wkxbjqgjmenu1): one entry per tool over a green gradient; only the floor
// tile and floor board entries are visible. A chosen entry is reported; the
// program shows the tool.
class ToolsMenu : public QWidget
{
    Q_OBJECT
public:
    explicit ToolsMenu(QWidget *parent = nullptr);

    // Entry Index (0 to 5) chosen: reports tool Index + 1; other indexes do nothing.
    void clickgjfrommeun(const qint16 &Index);

Q_SIGNALS:
    // Tool gjmeunnum (1 to 6) was chosen.
    void toolChosen(qint16 gjmeunnum);
};
