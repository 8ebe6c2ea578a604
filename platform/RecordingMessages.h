#pragma once

#include "platform/core/MessagePresenter.h"

#include <QStringList>

// Records every message instead of showing a box; returns at once.
class RecordingMessages : public MessagePresenter
{
public:
    void inform(const QString &text) override { shown.append(text); }
    QStringList shown;
};
