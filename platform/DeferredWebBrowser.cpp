#include "platform/DeferredWebBrowser.h"

#include <QGuiApplication>
#include <QHash>
#include <QLibrary>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <utility>

using namespace Qt::StringLiterals;

namespace {
using MakeEngineBrowser = Browser *(*)(QWidget *parent);

// The module's maker, loaded once for all browsers; null where it cannot be loaded.
MakeEngineBrowser engineMaker(const QString &modulePath)
{
    static QHash<QString, MakeEngineBrowser> makers;
    if (const auto known = makers.constFind(modulePath); known != makers.cend())
        return *known;
    QLibrary module(modulePath);
    const auto make = reinterpret_cast<MakeEngineBrowser>(module.resolve("rivavMakeWebEngineBrowser"));
    if (!make)
        qWarning("The embedded browser is not available: %ls", qUtf16Printable(module.errorString()));
    makers.insert(modulePath, make);
    return make;
}

// Qt Widgets fixes a window's surface (raster or OpenGL) when it makes the
// native window, and makes a second native window (the window vanishes and
// comes back) when the engine later puts its OpenGL-composited view into a
// shown raster window. A hidden OpenGL widget, there before the window is
// first shown, gets it an OpenGL surface from the start; the widget never
// sets up OpenGL itself. Only the engine's OpenGL path needs this, and only
// that path has the global share context: a view drawn in software sits in
// a raster window as any widget. Platforms without OpenGL windows
// (offscreen, vnc) have no such change, and cannot bear the widget.
void claimOpenGLSurface(QWidget *widget)
{
    const QString platform = QGuiApplication::platformName();
    const bool openGLWindows = platform == "xcb"_L1 || platform.startsWith("wayland"_L1) ||
                               platform == "windows"_L1 || platform == "cocoa"_L1;
    const QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    if (openGLWindows && shared && shared->isValid())
        (new QOpenGLWidget(widget))->hide();
}
} // namespace

DeferredWebBrowser::DeferredWebBrowser(QWidget *parent, QString modulePath)
    : m_widget(new QWidget(parent)), m_modulePath(std::move(modulePath))
{
    claimOpenGLSurface(m_widget);
}

DeferredWebBrowser::~DeferredWebBrowser()
{
    m_engine.reset();
    delete m_widget;
}

QWidget *DeferredWebBrowser::widget()
{
    return m_widget;
}

void DeferredWebBrowser::navigate(const QString &url)
{
    if (startEngine())
        m_engine->navigate(url);
}

std::optional<DomSnapshot> DeferredWebBrowser::document() const
{
    return m_engine ? m_engine->document() : std::nullopt;
}

void DeferredWebBrowser::coverUntilLoaded(QWidget *cover)
{
    if (m_engine)
        return m_engine->coverUntilLoaded(cover);
    m_cover = cover;
    cover->setParent(m_widget);
    cover->setGeometry(m_widget->rect());
    cover->show();
}

void DeferredWebBrowser::discard()
{
    if (m_engine)
        m_engine->discard();
}

bool DeferredWebBrowser::startEngine()
{
    if (m_engine)
        return true;
    const MakeEngineBrowser make = engineMaker(m_modulePath);
    if (!make || !m_widget)
        return false;
    m_engine.reset(make(m_widget));
    QWidget *view = m_engine->widget();
    // Sized before the cover moves into it, so that the cover fills it at once.
    view->setGeometry(m_widget->rect());
    auto *layout = new QVBoxLayout(m_widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    m_widget->setFocusProxy(view);
    if (m_cover)
        m_engine->coverUntilLoaded(m_cover);
    return true;
}

BrowserFactory deferredWebBrowsers(const QString &modulePath)
{
    return [modulePath](QWidget *parent) { return std::make_unique<DeferredWebBrowser>(parent, modulePath); };
}
