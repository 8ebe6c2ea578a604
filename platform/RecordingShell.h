#pragma once

#include "platform/core/ShellOpener.h"

#include <QStringList>

// Records every URL handed to the shell instead of opening it.
class RecordingShell : public ShellOpener
{
public:
    void open(const QString &url) override { opened.append(url); }
    QStringList opened;
};
