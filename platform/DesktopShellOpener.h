#pragma once

#include "platform/core/ShellOpener.h"

// Opens URLs through the desktop: xdg-open on Linux, ShellExecute on Windows.
class DesktopShellOpener : public ShellOpener
{
public:
    void open(const QString &url) override;
};
