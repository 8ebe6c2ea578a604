#include "quote/MainWindow.h"

#include "app/AppTexts.h"
#include "controls/CaptionLabel.h"
#include "controls/PictureBox.h"
#include "platform/Browser.h"
#include "quote/NewsWalk.h"

using namespace Qt::StringLiterals;

// News headlines and the vendor links.
namespace {
QString newsLabel(qsizetype index)
{
    return u"news(%1)"_s.arg(index);
}

// Labels 0, 1, 2, 4 and 5 carry the news pointer; the others keep the arrow.
bool hasNewsPointer(int index)
{
    return index <= 2 || index == 4 || index == 5;
}
} // namespace

void MainWindow::connectNewsAndLinks()
{
    for (int i = 0; i < NewsWalk::maxEntries; ++i) {
        auto *label = control<CaptionLabel>(newsLabel(i));
        if (hasNewsPointer(i))
            label->setPointer(u":/art/news-pointer.png"_s, QPoint(16, 2), Qt::PointingHandCursor);
        connect(label, &CaptionLabel::clicked, this, [this, i] { openNews(i); });
    }
    // The four chat buttons all open the same support chat; their topic
    // captions Label17 ... Label20 have no action.
    for (const QString &name : {u"Image6"_s, u"Image7"_s, u"Image8"_s, u"Image9"_s})
        connect(control<PictureBox>(name), &PictureBox::clicked, this,
                [this] { openurl(AppTexts::chatLink()); });
    connect(control<CaptionLabel>(u"Label21"_s), &CaptionLabel::clicked, this,
            [this] { openurl(AppTexts::webUrl(QString())); });
}

void MainWindow::getnews()
{
    // The browser loads asynchronously; its snapshot is the page as it stands now.
    const Browser *source = browser(u"WebBrowser1"_s);
    const std::optional<DomSnapshot> document = source ? source->document() : std::nullopt;
    if (!document)
        return;
    const QList<NewsEntry> entries = NewsWalk::walk(*document);
    for (qsizetype k = 0; k < entries.size(); ++k) {
        control<CaptionLabel>(newsLabel(k))->setText(entries[k].headline);
        m_newsurl[k] = entries[k].link;
    }
}

void MainWindow::openNews(int index)
{
    if (index < 0 || index >= m_newsurl.size())
        return;
    // The link comes from a web page: only a web address may reach the shell.
    const QString link = m_newsurl.at(index);
    if (NewsWalk::isOpenableWebLink(link))
        openurl(link);
}
