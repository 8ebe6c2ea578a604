// The floor for start-up time and memory: the smallest Qt WebEngine program,
// one empty view in a window of the main window's size.
#include <QApplication>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setWindowTitle(QStringLiteral("webengine-floor"));
    view.resize(797, 574);
    view.show();
    return QApplication::exec();
}
