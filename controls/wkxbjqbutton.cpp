#include "controls/wkxbjqbutton.h"

#include "app/AppTexts.h"
#include "app/ControlGeometry.h"
#include "app/FormWindow.h"
#include "app/LayoutBuilder.h"
#include "app/WindowSet.h"
#include "app/publicfunction.h"
#include "controls/CaptionLabel.h"
#include "controls/PictureBox.h"
#include "platform/Platform.h"
#include "platform/ShellOpener.h"

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;

// Bottom to top: the five buttons, the highlight, its caption.
// clang-format off
const ControlSpec barControls[] = {
    {"Image0", -1, K::Image, nullptr,  120, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab1.png", u"自动报价", S::On, -1},
    {"Image1", -1, K::Image, nullptr, 1995, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab2.png", u"家装工具", S::On, -1},
    {"Image2", -1, K::Image, nullptr, 3840, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab3.png", u"装修效果图", S::On, -1},
    {"Image3", -1, K::Image, nullptr, 5685, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab4.png", u"精确报价", S::On, -1},
    {"Image4", -1, K::Image, nullptr, 7560, 0, 1830, 570, nullptr, nullptr, ":/art/nav-tab5.png", u"使用说明", S::On, -1},
    {"Image5", -1, K::Image, nullptr,  120, 0, 1830, 570, nullptr, nullptr, ":/art/nav-highlight.png", nullptr, S::On, -1},
    {"Label1", -1, K::Label, nullptr,  240, 120, 1695, 375, u"自动报价", nullptr, nullptr, nullptr, S::On, 0},
};
// clang-format on

struct Highlight
{
    const char *button;
    const char16_t *caption;
};

// The buttons that can be highlighted, by meunnum.
const Highlight *highlightOf(qint16 meunnum)
{
    static const Highlight quote{"Image0", u"自动报价"};
    static const Highlight tools{"Image1", u"家装工具"};
    static const Highlight help{"Image4", u"使用说明"};
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

WindowId windowOf(int meunnum)
{
    switch (meunnum) {
    case 2:
        return WindowId::gjfrmindex;
    case 5:
        return WindowId::shuomingform;
    default:
        return WindowId::main;
    }
}
} // namespace

wkxbjqbutton::wkxbjqbutton(QWidget *parent) : QWidget(parent)
{
    const auto controls = LayoutBuilder::build(this, barControls);
    for (int i = 0; i < 5; ++i) {
        auto *button = qobject_cast<PictureBox *>(controls.value(u"Image"_s + QString::number(i)));
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &PictureBox::clicked, this, [this, i] { buttonClicked(i + 1); });
    }
    m_highlight = qobject_cast<PictureBox *>(controls.value(u"Image5"_s));
    m_caption = qobject_cast<CaptionLabel *>(controls.value(u"Label1"_s));
    m_caption->setAlignment(Qt::AlignCenter);
    QFont font;
    font.setFamilies({u"SimSun"_s, u"宋体"_s, u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s});
    font.setPointSizeF(15.75);
    m_caption->setFont(font);
}

void wkxbjqbutton::clickmeun(qint16 meunnum)
{
    const Highlight *highlight = highlightOf(meunnum);
    if (!highlight)
        return;
    const QRect button = ControlGeometry::twips(findChild<QWidget *>(QString::fromLatin1(highlight->button)));
    ControlGeometry::setTop(m_highlight, button.top());
    ControlGeometry::setLeft(m_highlight, button.left());
    ControlGeometry::setTop(m_caption, button.top() + 100);
    ControlGeometry::setLeft(m_caption, button.left() + 100);
    m_caption->setText(QString::fromUtf16(highlight->caption));
}

void wkxbjqbutton::clickfrom(qint16 meunnum)
{
    WindowSet &windows = WindowSet::instance();
    for (const auto &[number, id] : {std::pair{1, WindowId::main}, std::pair{2, WindowId::gjfrmindex},
                                     std::pair{5, WindowId::shuomingform}}) {
        if (meunnum == number)
            windows.show(id);
        else
            windows.hide(id);
    }
}

void wkxbjqbutton::buttonClicked(int meunnum)
{
    WindowSet &windows = WindowSet::instance();
    switch (meunnum) {
    case 3:
        Platform::shell().open(AppTexts::webUrl(u"/zxpic.htm"_s));
        return;
    case 4:
        Platform::shell().open(AppTexts::webUrl(u"/MemberPrice.htm"_s));
        return;
    default:
        break;
    }
    windows.window(windowOf(meunnum))->navigationBar()->clickmeun(qint16(meunnum));
    windows.window(WindowId::gjfrmindex)->navigationBar()->clickfrom(qint16(meunnum));
    publicfunction::hidegjfrom();
}
