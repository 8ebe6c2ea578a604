#pragma once

#include "controls/FormWindow.h"

// The instructions window (object name shuomingform): the vendor's
// instructions page in an embedded browser, loaded when the window is loaded
// and again on a click on the background around the browser.
class InstructionsWindow : public FormWindow
{
    Q_OBJECT
public:
    explicit InstructionsWindow(const BrowserFactory &browsers);

    void load() override;
    // Sends the browser to the instructions page.
    void showInstructions();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_background;
    Browser *m_browser;
    bool m_backgroundPressed = false;
};
