// The floors for start-up time and memory: the smallest Qt program showing
// one window of the main window's size, an empty Qt WebEngine view or, built
// with FLOOR_WIDGETS, a bare Qt Widgets window.
#include <QApplication>
#ifdef FLOOR_WIDGETS
#include <QWidget>
using Window = QWidget;
constexpr char title[] = "widgets-floor";
#else
#include <QWebEngineView>
using Window = QWebEngineView;
constexpr char title[] = "webengine-floor";
#endif

int main(int argc, char *argv[])
{
#ifndef FLOOR_WIDGETS
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
#endif
    QApplication app(argc, argv);
    Window window;
    window.setWindowTitle(QString::fromLatin1(title));
    window.resize(797, 574);
    window.show();
    return QApplication::exec();
}
