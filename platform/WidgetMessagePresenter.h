#pragma once

#include "platform/core/MessagePresenter.h"

#include <QString>

// A modal QMessageBox over the active window, with the caption it was given.
class WidgetMessagePresenter : public MessagePresenter
{
public:
    explicit WidgetMessagePresenter(QString caption) : m_caption(std::move(caption)) {}
    void inform(const QString &text) override;

private:
    QString m_caption;
};
