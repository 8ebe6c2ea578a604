#pragma once

#include "platform/MessagePresenter.h"

class WidgetMessagePresenter : public MessagePresenter
{
public:
    void inform(const QString &text) override;
};
