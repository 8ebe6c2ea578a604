#pragma once

#include <QString>

// Hands a URL to the desktop, which opens it with the user's default handler.
// Fire and forget: the result is never examined.
class ShellOpener
{
public:
    virtual ~ShellOpener() = default;
    virtual void open(const QString &url) = 0;
};
