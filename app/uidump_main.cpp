// Prints the layout of all nine windows as JSON, built offscreen through the
// program's own code, without timers or remote pages.
#include "app/ProgramWindows.h"
#include "app/UiDump.h"
#include "platform/InertBrowser.h"
#include "platform/RecordingMessages.h"
#include "platform/RecordingShell.h"

#include <QApplication>
#include <QJsonDocument>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RecordingShell shell;
    RecordingMessages messages;
    ProgramWindows windows({shell, messages, inertBrowsers()}, QString(), MainWindow::Start::LayoutOnly);
    const QByteArray json = QJsonDocument(dumpWindows(windows)).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
