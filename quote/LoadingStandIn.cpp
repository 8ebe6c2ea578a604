#include "quote/LoadingStandIn.h"

#include "controls/Artwork.h"

#include <QPainter>
#include <QTimer>

#include <utility>

using namespace Qt::StringLiterals;

namespace {
// The page: a left margin of 5 pixels, one table of 782 × 565 pixels with the
// background picture, its only cell centring the animation (320 × 34) and
// one line of text in 14-pixel type below it.
constexpr int pageMargin = 5;
constexpr QSize tableSize(782, 565);
constexpr QSize animationSize(320, 34);
const QColor textColour(0x46, 0x69, 0x3f);
} // namespace

LoadingStandIn::LoadingStandIn(const QString &folder)
    : m_background(Artwork::pixmap(backgroundPicture(folder), devicePixelRatioF())),
      m_animation(folder + u"/cong.gif"_s)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_font.setFamilies({u"Microsoft YaHei"_s, u"Noto Sans CJK SC"_s, u"SimSun"_s});
    m_font.setPixelSize(14);
    connect(&m_animation, &QMovie::frameChanged, this, [this] { update(animationRect()); });
    m_animation.start();
}

QString LoadingStandIn::backgroundPicture(const QString &folder)
{
    return folder + u"/bg.png"_s;
}

QRect LoadingStandIn::animationRect() const
{
    // The picture sits on the first line of the centred block, the text on the second.
    const int blockHeight = animationSize.height() + QFontMetrics(m_font).height();
    return {pageMargin + (tableSize.width() - animationSize.width()) / 2,
            (tableSize.height() - blockHeight) / 2, animationSize.width(), animationSize.height()};
}

void LoadingStandIn::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(pageMargin, 0, m_background);
    const QRect animation = animationRect();
    painter.drawPixmap(animation, m_animation.currentPixmap());
    painter.setFont(m_font);
    painter.setPen(textColour);
    painter.drawText(
        QRect(pageMargin, animation.bottom() + 1, tableSize.width(), QFontMetrics(m_font).height()),
        Qt::AlignHCenter | Qt::AlignTop, u"数据加载中，请稍后......"_s);
    if (!std::exchange(m_painted, true)) {
        // Reported once this frame has gone out to the screen.
        QTimer::singleShot(0, this, &LoadingStandIn::reportOnScreen);
    }
}

void LoadingStandIn::showEvent(QShowEvent *)
{
    if (!std::exchange(m_shown, true))
        QTimer::singleShot(1000, this, &LoadingStandIn::reportOnScreen);
}

void LoadingStandIn::reportOnScreen()
{
    if (!std::exchange(m_reported, true))
        Q_EMIT onScreen();
}
