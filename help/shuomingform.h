#pragma once

#include "app/FormWindow.h"

// The instructions window: the vendor's instructions page in an embedded
// browser, loaded when the window is loaded and again on a click on the
// background around the browser.
class shuomingform : public FormWindow
{
    Q_OBJECT
public:
    shuomingform();

    void load() override;
    // Sends the browser to the instructions page.
    void showInstructions();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_backgroundPressed = false;
};
