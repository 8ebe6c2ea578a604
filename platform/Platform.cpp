#include "platform/Platform.h"

#include "platform/Browser.h"
#include "platform/DesktopShellOpener.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WidgetMessagePresenter.h"

#include <QtGlobal>

namespace {
ShellOpener *g_shell = nullptr;
MessagePresenter *g_messages = nullptr;
Platform::BrowserFactory g_browserFactory;
} // namespace

ShellOpener &Platform::shell()
{
    Q_ASSERT(g_shell);
    return *g_shell;
}

MessagePresenter &Platform::messages()
{
    Q_ASSERT(g_messages);
    return *g_messages;
}

std::unique_ptr<Browser> Platform::createBrowser(QWidget *parent)
{
    Q_ASSERT(g_browserFactory);
    return g_browserFactory(parent);
}

void Platform::setShell(ShellOpener *shell)
{
    g_shell = shell;
}
void Platform::setMessages(MessagePresenter *messages)
{
    g_messages = messages;
}
void Platform::setBrowserFactory(BrowserFactory factory)
{
    g_browserFactory = std::move(factory);
}

void Platform::installDesktopServices()
{
    static DesktopShellOpener shell;
    static WidgetMessagePresenter messages;
    setShell(&shell);
    setMessages(&messages);
    setBrowserFactory([](QWidget *parent) { return std::make_unique<WebEngineBrowser>(parent); });
}
