#pragma once

#include "controls/CaptionLabel.h"
#include "platform/core/DomElement.h"
#include "quote/MainWindow.h"

#include <QStringList>

// Building news documents and reading the main window's headline labels.
namespace NewsPage {
using namespace Qt::StringLiterals;

// An INPUT element as the news page writes one; no "mysrc" when mysrc is null.
inline DomElement input(const QString &name, const QString &value, const QString &mysrc = {})
{
    DomElement e{u"INPUT"_s, name, value, {{u"name"_s, name}}};
    if (!mysrc.isNull())
        e.attributes.insert(u"mysrc"_s, mysrc);
    return e;
}

inline CaptionLabel *newsLabel(const MainWindow &w, int index)
{
    return w.control<CaptionLabel>(u"news(%1)"_s.arg(index));
}

inline QStringList newsTexts(const MainWindow &w)
{
    QStringList texts;
    for (int i = 0; i < 10; ++i)
        texts.append(newsLabel(w, i)->text());
    return texts;
}
} // namespace NewsPage
