#pragma once

#include "platform/MessagePresenter.h"

#include <QStringList>

// Records the messages instead of showing them.
class RecordingMessages : public MessagePresenter
{
public:
    void inform(const QString &text) override { shown.append(text); }
    QStringList shown;
};
