#pragma once

#include "app/FormWindow.h"

// The instructions window: the vendor's instructions page in an embedded browser.
class shuomingform : public FormWindow
{
    Q_OBJECT
public:
    shuomingform();
};
