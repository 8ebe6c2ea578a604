#include "controls/FormWindow.h"

#include "controls/Artwork.h"
#include "controls/DesignedLook.h"
#include "controls/NavigationBar.h"
#include "controls/ToolsMenu.h"
#include "controls/Twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

FormWindow::FormWindow(const WindowSpec &shape, const QString &caption, std::span<const ControlSpec> controls,
                       const BrowserFactory &browsers)
    : m_shape(shape)
{
    setObjectName(QString::fromLatin1(shape.name));
    setWindowTitle(caption);
    if (shape.keys)
        setAccessibleDescription(QString::fromUtf16(shape.keys));
    // Set before the controls are made, which take it over from the window.
    setPalette(DesignedLook::palette());
    if (shape.sizable) {
        resize(Twips::toPixels(shape.widthTwips), Twips::toPixels(shape.heightTwips));
    } else {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        setFixedSize(Twips::toPixels(shape.widthTwips), Twips::toPixels(shape.heightTwips));
    }
    const QString icon = u":/art/app-icon.png"_s;
    if (shape.hasIcon)
        Artwork::prefetchIcon(icon);
    m_controls =
        LayoutBuilder::build(this, controls, [this, &browsers](const ControlSpec &row, QWidget *parent) {
            std::unique_ptr<Browser> browser = browsers(parent);
            QWidget *widget = browser->widget();
            m_browsers[LayoutBuilder::objectNameOf(row)] = std::move(browser);
            return widget;
        });
    if (shape.hasIcon)
        setWindowIcon(Artwork::icon(icon));
    m_navigationBar = control<NavigationBar>(u"wkxbjqbutton1"_s);
    m_toolsMenu = control<ToolsMenu>(u"wkxbjqgjmenu1"_s);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

FormWindow::~FormWindow() = default;

Browser *FormWindow::browser(const QString &name) const
{
    const auto it = m_browsers.find(name);
    return it == m_browsers.end() ? nullptr : it->second.get();
}

Browser *FormWindow::requireBrowser(const QString &name) const
{
    Browser *found = browser(name);
    if (!found)
        LayoutBuilder::missingControl(name, "Browser");
    return found;
}

void FormWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    Q_EMIT closed();
}
