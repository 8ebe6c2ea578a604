#include "quote/MainWindow.h"

#include "app/core/AppTexts.h"
#include "controls/CaptionLabel.h"
#include "controls/PictureBox.h"
#include "platform/Browser.h"
#include "quote/core/NewsWalk.h"

using namespace Qt::StringLiterals;

// News headlines and the vendor links.
namespace {
// Labels 0, 1, 2, 4 and 5 carry the news pointer; the others keep the arrow.
bool hasNewsPointer(int index)
{
    return index <= 2 || index == 4 || index == 5;
}
} // namespace

void MainWindow::connectNewsAndLinks()
{
    static_assert(std::tuple_size_v<decltype(m_ui.news)> == NewsWalk::maxEntries);
    for (int i = 0; i < NewsWalk::maxEntries; ++i) {
        CaptionLabel *label = m_ui.news[i];
        if (hasNewsPointer(i))
            label->setPointer(u":/art/news-pointer.png"_s, QPoint(16, 2), Qt::PointingHandCursor);
        connect(label, &CaptionLabel::clicked, this, [this, i] { openNews(i); });
        // A headline is a link, with its key, once it holds one.
        label->setActionable(false);
    }
    // The four chat buttons all open the same support chat; their topic
    // captions Label17 ... Label20 have no action.
    for (PictureBox *badge : m_ui.chatBadges)
        connect(badge, &PictureBox::clicked, this, [this] { openurl(AppTexts::chatLink()); });
    connect(m_ui.homeLink, &CaptionLabel::clicked, this, [this] { openurl(AppTexts::webUrl(QString())); });
}

void MainWindow::getnews()
{
    // The browser loads asynchronously; its snapshot is the page as it stands now.
    const std::optional<DomSnapshot> document = m_ui.newsBrowser->document();
    if (!document)
        return;
    const QList<NewsEntry> entries = NewsWalk::walk(*document);
    for (qsizetype k = 0; k < entries.size(); ++k) {
        m_ui.news[k]->setText(entries[k].headline);
        m_newsurl[k] = entries[k].link;
        m_ui.news[k]->setActionable(NewsWalk::isOpenableWebLink(entries[k].link));
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
