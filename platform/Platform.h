#pragma once

#include <functional>
#include <memory>

class Browser;
class MessagePresenter;
class ShellOpener;
class QWidget;

// The services the windows reach the desktop through. The program installs
// the real ones at start; tests install recording fakes.
namespace Platform {
using BrowserFactory = std::function<std::unique_ptr<Browser>(QWidget *parent)>;

ShellOpener &shell();
MessagePresenter &messages();
std::unique_ptr<Browser> createBrowser(QWidget *parent);

void setShell(ShellOpener *shell);
void setMessages(MessagePresenter *messages);
void setBrowserFactory(BrowserFactory factory);

// The desktop implementations: xdg-open or ShellExecute, QMessageBox, Qt WebEngine.
void installDesktopServices();
} // namespace Platform
