// The floor for a window without a browser: the smallest Qt Widgets program,
// one empty window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("widgets-floor"));
    window.resize(797, 574);
    window.show();
    return QApplication::exec();
}
