#pragma once

#include <QString>

// Shows a modal message with a single OK button and no icon; returns when the
// user has closed it.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual void inform(const QString &text) = 0;
};
