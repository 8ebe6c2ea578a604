#include "app/FormWindow.h"

#include "app/LayoutBuilder.h"
#include "app/Twips.h"
#include "app/WindowSet.h"
#include "controls/Artwork.h"
#include "controls/wkxbjqbutton.h"
#include "controls/wkxbjqgjmenu.h"
#include "platform/Browser.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

FormWindow::FormWindow(const WindowSpec &shape, const QString &caption, std::span<const ControlSpec> controls)
    : m_shape(shape)
{
    setObjectName(QString::fromLatin1(shape.name));
    setWindowTitle(caption);
    if (shape.sizable) {
        resize(Twips::toPixels(shape.widthTwips), Twips::toPixels(shape.heightTwips));
    } else {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        setFixedSize(Twips::toPixels(shape.widthTwips), Twips::toPixels(shape.heightTwips));
    }
    if (shape.hasIcon)
        setWindowIcon(Artwork::icon(u":/art/app-icon.png"_s));
    m_controls =
        LayoutBuilder::build(this, controls, [this](const ControlSpec &row, std::unique_ptr<Browser> b) {
            m_browsers[LayoutBuilder::objectNameOf(row)] = std::move(b);
        });
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

FormWindow::~FormWindow() = default;

QWidget *FormWindow::control(const QString &name) const
{
    return m_controls.value(name);
}

Browser *FormWindow::browser(const QString &name) const
{
    const auto it = m_browsers.find(name);
    return it == m_browsers.end() ? nullptr : it->second.get();
}

wkxbjqbutton *FormWindow::navigationBar() const
{
    return control<wkxbjqbutton>(u"wkxbjqbutton1"_s);
}
wkxbjqgjmenu *FormWindow::toolsMenu() const
{
    return control<wkxbjqgjmenu>(u"wkxbjqgjmenu1"_s);
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    WindowSet::instance().endProcess();
}
