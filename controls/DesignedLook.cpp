#include "controls/DesignedLook.h"

QPalette DesignedLook::palette()
{
    // Qt's own light palette, as its Fusion style draws without a desktop theme.
    const QColor window(239, 239, 239);
    const QColor light = window.lighter(150);
    const QColor mid = window.darker(130);
    const QColor dark = window.darker(150);
    const QColor shadow = dark.darker(135);
    QPalette p(Qt::black, window, light, dark, mid, Qt::black, Qt::white);
    p.setColor(QPalette::Midlight, mid.lighter(110));
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Shadow, shadow);
    p.setColor(QPalette::Highlight, QColor(48, 140, 198));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(0, 0, 255));
    p.setColor(QPalette::LinkVisited, QColor(255, 0, 255));
    p.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    p.setColor(QPalette::ToolTipText, Qt::black);
    QColor placeholder(Qt::black);
    placeholder.setAlpha(128);
    p.setColor(QPalette::PlaceholderText, placeholder);
    const QColor disabledText(190, 190, 190);
    p.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    p.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    p.setColor(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
    p.setColor(QPalette::Disabled, QPalette::Shadow, shadow.lighter(150));
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    // Newer releases add an accent colour, which Fusion takes from the highlight.
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Accent, p.color(group, QPalette::Highlight));
#endif
    return p;
}
