#pragma once

#include <QWidget>

// The tools side menu of the tools index and the tool windows: one entry per
// tool over a green gradient; only the floor tile and floor board entries
// are visible.
class wkxbjqgjmenu : public QWidget
{
    Q_OBJECT
public:
    explicit wkxbjqgjmenu(QWidget *parent = nullptr);

    // Shows tool window gjmeunnum (1 to 6) and hides the other five and the tools index.
    void clickgjfrom(qint16 gjmeunnum);
    // Entry Index (0 to 5) chosen: clickgjfrom(Index + 1) on that tool window's menu.
    void clickgjfrommeun(const qint16 &Index);
};
