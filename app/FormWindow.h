#pragma once

#include "app/ControlSpec.h"

#include <QHash>
#include <QWidget>

#include <map>
#include <memory>
#include <span>

class Browser;
class wkxbjqbutton;
class wkxbjqgjmenu;

// How a top-level window looks from outside: designer name, caption, client
// size in twips, frame and icon.
struct WindowSpec
{
    const char *name;
    int widthTwips;
    int heightTwips;
    bool sizable;
    bool hasIcon;
};

// A top-level window built from its layout table on the shared background.
// Closing it ends the whole process.
class FormWindow : public QWidget
{
    Q_OBJECT
public:
    FormWindow(const WindowSpec &shape, const QString &caption, std::span<const ControlSpec> controls);
    ~FormWindow() override;

    const WindowSpec &shape() const { return m_shape; }

    QWidget *control(const QString &name) const;
    template <typename T> T *control(const QString &name) const { return qobject_cast<T *>(control(name)); }
    Browser *browser(const QString &name) const;
    QList<QWidget *> controls() const { return m_controls.values(); }

    wkxbjqbutton *navigationBar() const;
    wkxbjqgjmenu *toolsMenu() const;

    // The load action, run once right after the window was built.
    virtual void load() {}

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    WindowSpec m_shape;
    QHash<QString, QWidget *> m_controls;
    std::map<QString, std::unique_ptr<Browser>> m_browsers;
};
