// Prints the layout of all nine windows as JSON, built offscreen through the
// program's own code, without timers or remote pages.
#include "app/UiDump.h"
#include "app/StandardWindows.h"
#include "app/WindowSet.h"
#include "platform/InertBrowser.h"
#include "platform/MessagePresenter.h"
#include "platform/Platform.h"
#include "platform/ShellOpener.h"

#include <QApplication>
#include <QJsonDocument>

#include <cstdio>

namespace {
struct SilentShell : ShellOpener
{
    void open(const QString &) override {}
};
struct SilentMessages : MessagePresenter
{
    void inform(const QString &) override {}
};
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SilentShell shell;
    SilentMessages messages;
    Platform::setShell(&shell);
    Platform::setMessages(&messages);
    Platform::setBrowserFactory([](QWidget *parent) { return std::make_unique<InertBrowser>(parent); });
    WindowSet windows(standardWindows(StartMode::LayoutOnly));
    const QByteArray json = QJsonDocument(dumpWindows(windows)).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
    return 0;
}
