#pragma once

#include "platform/Browser.h"

class MessagePresenter;
class ShellOpener;

// What the windows reach the desktop through, handed to each window when it
// is made: the program passes the real services, tests recording fakes.
struct DesktopServices
{
    ShellOpener &shell;
    MessagePresenter &messages;
    BrowserFactory browsers;
};
