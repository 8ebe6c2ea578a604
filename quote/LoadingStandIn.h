#pragma once

#include <QMovie>
#include <QPixmap>
#include <QWidget>

// The look of the loading page, drawn without the browser engine: the white
// page with its background picture, the animation and the line under it.
// It covers the loading pane from the first frame until the engine, which
// starts only after that frame, shows the page itself.
class LoadingStandIn : public QWidget
{
    Q_OBJECT
public:
    // folder holds the loading page's pictures.
    explicit LoadingStandIn(const QString &folder);

    // The page's background picture, for Artwork.
    static QString backgroundPicture(const QString &folder);

Q_SIGNALS:
    // Once: when the first frame with this look has been painted, or a
    // second after the stand-in was first shown should no frame come (a
    // window that is not exposed).
    void onScreen();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect animationRect() const;
    void reportOnScreen();

    QPixmap m_background;
    QMovie m_animation;
    QFont m_font;
    bool m_shown = false;
    bool m_painted = false;
    bool m_reported = false;
};
