#include "controls/NavigationBar.h"

#include "controls/CaptionLabel.h"
#include "controls/ControlGeometry.h"
#include "controls/LayoutBuilder.h"
#include "controls/PictureBox.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;

// Bottom to top: the five buttons, the highlight, its caption.
// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec barControls[] = {
    {"Image0", -1, K::Image, nullptr,  120, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab1.png", u"自动报价", S::On, -1, "Alt+1"},
    {"Image1", -1, K::Image, nullptr, 1995, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab2.png", u"家装工具", S::On, -1, "Alt+2"},
    {"Image2", -1, K::Image, nullptr, 3840, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab3.png", u"装修效果图", S::On, -1, "Alt+3"},
    {"Image3", -1, K::Image, nullptr, 5685, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab4.png", u"精确报价", S::On, -1, "Alt+4"},
    {"Image4", -1, K::Image, nullptr, 7560, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab5.png", u"使用说明", S::On, -1, "Alt+5"},
    {"Image5", -1, K::Image, nullptr,  120, 0, 1830, 570, nullptr, nullptr, ":/art/nav-highlight.png", nullptr, S::On, -1},
    {"Label1", -1, K::Label, nullptr,  240, 120, 1695, 375, u"自动报价", nullptr, nullptr, nullptr, S::On, 0},
};
// clang-format on

struct Highlight
{
    int button; // index of the Image control under the highlight
    const char16_t *caption;
};

// The buttons that can be highlighted, by meunnum.
const Highlight *highlightOf(qint16 meunnum)
{
    static const Highlight quote{0, u"自动报价"};
    static const Highlight tools{1, u"家装工具"};
    static const Highlight help{4, u"使用说明"};
    switch (meunnum) {
    case 1:
        return &quote;
    case 2:
        return &tools;
    case 5:
        return &help;
    default:
        return nullptr;
    }
}

} // namespace

NavigationBar::NavigationBar(QWidget *parent) : QWidget(parent)
{
    const auto controls = LayoutBuilder::build(this, barControls);
    for (int i = 0; i < 5; ++i) {
        PictureBox *button = LayoutBuilder::require<PictureBox>(controls, u"Image"_s + QString::number(i));
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &PictureBox::clicked, this, [this, i] { chooseButton(i); });
        m_buttons[i] = button;
    }
    m_highlight = LayoutBuilder::require<PictureBox>(controls, u"Image5"_s);
    m_caption = LayoutBuilder::require<CaptionLabel>(controls, u"Label1"_s);
    m_caption->setAlignment(Qt::AlignCenter);
    QFont font;
    font.setFamilies({u"SimSun"_s, u"宋体"_s, u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s});
    font.setPointSizeF(15.75);
    m_caption->setFont(font);
    markCurrent(0, m_caption->text());
}

void NavigationBar::clickmeun(qint16 meunnum)
{
    const Highlight *highlight = highlightOf(meunnum);
    if (!highlight)
        return;
    const QRect button = ControlGeometry::twips(m_buttons[highlight->button]);
    ControlGeometry::setTop(m_highlight, button.top());
    ControlGeometry::setLeft(m_highlight, button.left());
    ControlGeometry::setTop(m_caption, button.top() + 100);
    ControlGeometry::setLeft(m_caption, button.left() + 100);
    m_caption->setText(QString::fromUtf16(highlight->caption));
    markCurrent(highlight->button, m_caption->text());
}

// The highlight covers the current button, so a click there lands on the
// highlight and does nothing; its key does nothing either.
void NavigationBar::chooseButton(int button)
{
    if (button != m_current)
        Q_EMIT buttonChosen(qint16(button + 1));
}

// Screen readers see the current button checked and the highlight by its caption.
void NavigationBar::markCurrent(int button, const QString &caption)
{
    m_buttons[m_current]->setChecked(false);
    m_current = button;
    m_buttons[m_current]->setChecked(true);
    m_highlight->setAccessibleName(caption);
}
