#pragma once

#include "controls/ControlSpec.h"
#include "controls/LayoutBuilder.h"
#include "platform/Browser.h"

#include <QHash>
#include <QWidget>

#include <map>
#include <memory>
#include <span>

class NavigationBar;
class ToolsMenu;

// How a top-level window looks from outside: designer name, caption, client
// size in twips, frame and icon; and the keys that work in it, which screen
// readers say when the window becomes active.
struct WindowSpec
{
    const char *name;
    int widthTwips;
    int heightTwips;
    bool sizable;
    bool hasIcon;
    const char16_t *keys = nullptr;
};

// A top-level window built from its layout table on the shared background.
// Closing it reports closed(); the program ends the whole process on it.
class FormWindow : public QWidget
{
    Q_OBJECT
public:
    FormWindow(const WindowSpec &shape, const QString &caption, std::span<const ControlSpec> controls,
               const BrowserFactory &browsers = {});
    ~FormWindow() override;

    const WindowSpec &shape() const { return m_shape; }

    // The control with this object name, or null.
    QWidget *control(const QString &name) const { return m_controls.value(name); }
    template <typename T> T *control(const QString &name) const { return qobject_cast<T *>(control(name)); }
    QList<QWidget *> controls() const { return m_controls.values(); }
    // The browser of a WebBrowser control, or null.
    Browser *browser(const QString &name) const;

    // The navigation bar and tools menu of the window, null where it has none.
    NavigationBar *navigationBar() const { return m_navigationBar; }
    ToolsMenu *toolsMenu() const { return m_toolsMenu; }

    // The load action, run once right after the window was built.
    virtual void load() {}

Q_SIGNALS:
    void closed();

protected:
    // The control a window keeps as a member: a misspelt name or a wrong
    // kind stops the program as soon as the window is built.
    template <typename T> T *require(const QString &name) const
    {
        return LayoutBuilder::require<T>(m_controls, name);
    }
    Browser *requireBrowser(const QString &name) const;

    void closeEvent(QCloseEvent *event) override;

private:
    WindowSpec m_shape;
    QHash<QString, QWidget *> m_controls;
    std::map<QString, std::unique_ptr<Browser>> m_browsers;
    NavigationBar *m_navigationBar = nullptr;
    ToolsMenu *m_toolsMenu = nullptr;
};
