#pragma once

#include "platform/ShellOpener.h"

#include <QStringList>

// Records the URLs handed to the desktop instead of opening them.
class RecordingShell : public ShellOpener
{
public:
    void open(const QString &url) override { opened.append(url); }
    QStringList opened;
};
