#include "app/EngineEnvironment.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QString>

#include <algorithm>
#include <cstring>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {
// Switches by which the engine is asked to draw with the GPU.
bool asksForGpu(const QByteArray &chromiumFlags)
{
    for (const QByteArray &flag : chromiumFlags.simplified().split(' ')) {
        if (flag.startsWith("--enable-gpu") || flag.startsWith("--use-gl=") ||
            flag.startsWith("--use-angle=") || flag == "--ignore-gpu-blocklist")
            return true;
    }
    return false;
}

// A Qt Quick back-end other than the software one (QMLSCENE_DEVICE is the
// older name of QT_QUICK_BACKEND), a graphics API for it, or a GPU switch.
bool userChoseGpuDrawing(const QByteArray &chromiumFlags)
{
    for (const char *name : {"QMLSCENE_DEVICE", "QT_QUICK_BACKEND"}) {
        const QByteArray backend = qgetenv(name);
        if (!backend.isEmpty() && backend != "software")
            return true;
    }
    return qEnvironmentVariableIsSet("QSG_RHI_BACKEND") || asksForGpu(chromiumFlags);
}

QtMessageHandler nextMessageHandler = nullptr;

// Without an OpenGL share context the engine warns, as its module is loaded,
// that it was not set up for OpenGL, and, as it starts, that it found no
// OpenGL to draw with. Drawing in software, neither applies.
// From Qt 6.8 on the engine also asks, as it starts, which GPU there is: it
// tries an OpenGL context (which Qt without its OpenGL integration cannot
// make), the share context, and Vulkan, and reports each failure. Drawing in
// software, no page uses any of them.
constexpr QLatin1StringView gpuProbeNotices[] = {
    "QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are enabled"_L1,
    "QXcbIntegration: Cannot create platform offscreen surface, neither GLX nor EGL are enabled"_L1,
    "Attribute Qt::AA_ShareOpenGLContexts must be set before QCoreApplication is created."_L1,
    "QRhiGles2: Failed to create temporary context"_L1,
    "QRhiGles2: Failed to create context"_L1,
    "Failed to create platform Vulkan instance"_L1,
    "Unable to detect GPU vendor."_L1,
};

bool isOpenGLNotice(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtWarningMsg)
        return false;
    const QString text = message.trimmed();
    if (text.startsWith("Failed to create Vulkan instance: "_L1) ||
        std::find(std::begin(gpuProbeNotices), std::end(gpuProbeNotices), text) != std::end(gpuProbeNotices))
        return true;
    return context.category && std::strcmp(context.category, "default") == 0 &&
           (message.startsWith("Qt WebEngine seems to be initialized from a plugin."_L1) ||
            text == "No suitable graphics backend found"_L1);
}

void dropOpenGLNotices(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isOpenGLNotice(type, context, message))
        nextMessageHandler(type, context, message);
}
} // namespace

EngineDrawing prepareEngineEnvironment()
{
    // The engine reports its graphics set-up at every start; users need not see it.
    QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
    // The loading pane, the news page and the instructions share one page
    // renderer: a small program needs no process per site. (The engine reads
    // its switches from this variable, and from the command line only when
    // the variable is unset.) The engine's own menus and pages speak Chinese.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --renderer-process-limit=1 --lang=zh-CN";
    const EngineDrawing drawing =
        userChoseGpuDrawing(flags) ? EngineDrawing::openGL : EngineDrawing::software;
    if (drawing == EngineDrawing::openGL) {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    } else {
        // Each page of the program is drawn at once and then stands still:
        // software drawing shows it as fast, and spares the OpenGL set-up at
        // start and a composition of the whole window at every caret blink.
        qputenv("QT_QUICK_BACKEND", "software");
        flags += " --disable-gpu";
        // Nothing draws with OpenGL then; without this the engine still asks
        // the X11 OpenGL integration whether OpenGL works on threads, which
        // loads the OpenGL driver (with software OpenGL, some 30 MiB and its
        // set-up) for nothing.
        if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
            qputenv("QT_XCB_GL_INTEGRATION", "none");
        nextMessageHandler = qInstallMessageHandler(dropOpenGLNotices);
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    // Pages reach screen readers only with this set. The engine builds a
    // page's accessible tree only once assistive technology is active, so
    // without one it costs nothing.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    return drawing;
}
