#include "platform/webengine/WebEngineBrowser.h"

#include <QContextMenuEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMenu>
#include <QUrl>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <algorithm>
#include <functional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {
// Our scripts run in their own world, so the page can neither see nor alter them.
constexpr quint32 scriptWorld = QWebEngineScript::ApplicationWorld;

// Pause before a snapshot after a DOM change: short while the page loads,
// longer once it has loaded, so that a page that keeps changing its DOM
// costs little.
constexpr int loadingChangeDelayMs = 20;
constexpr int loadedChangeDelayMs = 150;

// How long a cover stays after the page's first load, until the engine has
// shown the page.
constexpr int coverAfterLoadMs = 100;

const QString domChangedMessage = u"\u0001rivav:dom-changed"_s;

// Installed as each document is created: reports the first DOM change after
// every snapshot through a console message.
const QString observerScript = uR"JS(
(function () {
  window.rivavDomPending = false;
  new MutationObserver(function () {
    if (window.rivavDomPending)
      return;
    window.rivavDomPending = true;
    console.debug('\u0001rivav:dom-changed');
  }).observe(document, {subtree: true, childList: true, attributes: true, characterData: true});
})();
)JS"_s;

// Tag name, name attribute, value and all attributes of every element in
// document order. The value is the live .value property where the element
// has one as text (INPUT and other form controls), else the attribute. The
// result is one JSON text, [url, [tag, name, value, attribute, value, ...],
// ...]: a single string crosses from the page to the program at little
// cost, where a tree of objects would be converted value by value on the
// user interface thread.
const QString snapshotScript = uR"JS(
(function () {
  window.rivavDomPending = false;
  var out = [document.URL];
  var all = document.getElementsByTagName('*');
  for (var i = 0; i < all.length; ++i) {
    var e = all[i], value = e.value, list = e.attributes;
    var item = [e.tagName, e.getAttribute('name') || '',
                typeof value === 'string' ? value : (e.getAttribute('value') || '')];
    for (var j = 0; j < list.length; ++j)
      item.push(list[j].name.toLowerCase(), list[j].value);
    out.push(item);
  }
  return JSON.stringify(out);
})()
)JS"_s;

// The document's URL and its elements from the script's JSON text.
std::pair<QString, DomSnapshot> parseSnapshot(const QString &json)
{
    const QJsonArray items = QJsonDocument::fromJson(json.toUtf8()).array();
    DomSnapshot snapshot;
    snapshot.reserve(items.size());
    for (qsizetype i = 1; i < items.size(); ++i) {
        const QJsonArray item = items.at(i).toArray();
        DomElement element{item.at(0).toString(), item.at(1).toString(), item.at(2).toString(), {}};
        for (qsizetype j = 3; j + 1 < item.size(); j += 2)
            element.attributes.insert(item.at(j).toString(), item.at(j + 1).toString());
        snapshot.append(std::move(element));
    }
    return {items.at(0).toString(), std::move(snapshot)};
}

// Shown when a page cannot be loaded, instead of the engine's own error page,
// which speaks English.
QString errorPage(const QWebEngineLoadingInfo &info)
{
    const QString reason = info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain
                               ? u"服务器未能提供这个页面（HTTP %1）。请稍后再试。"_s.arg(info.errorCode())
                               : u"暂时连接不到服务器。请检查网络连接，稍后再试。"_s;
    return uR"(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>无法打开页面</title>
<style>
body { font-family: "Noto Sans CJK SC", sans-serif; color: #333; background: #fff; margin: 24px; }
h1 { font-size: 18px; color: #2e7d32; margin: 0 0 12px; }
p { font-size: 14px; line-height: 1.7; margin: 0 0 8px; }
.address { color: #999; font-size: 12px; word-break: break-all; }
</style></head>
<body><h1>无法打开页面</h1>
<p>%1</p>
<p class="address">%2</p></body></html>
)"_s.arg(reason, info.url().toDisplayString().toHtmlEscaped());
}

// A load given up for another one is no failure to show (the engine reports
// it as stopped, or failed with net::ERR_ABORTED).
bool showsErrorPage(const QWebEngineLoadingInfo &info)
{
    constexpr int aborted = -3;
    return info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
           !(info.errorDomain() == QWebEngineLoadingInfo::InternalErrorDomain &&
             info.errorCode() == aborted) &&
           !(info.errorDomain() == QWebEngineLoadingInfo::ConnectionErrorDomain &&
             info.errorCode() == aborted);
}

// The entries of a page's context menu; NoWebAction stands for a separator.
QList<QWebEnginePage::WebAction> menuActions(const QWebEngineContextMenuRequest &request)
{
    using A = QWebEnginePage::WebAction;
    if (request.isContentEditable())
        return {A::Undo, A::Redo, A::NoWebAction, A::Cut, A::Copy, A::Paste, A::NoWebAction, A::SelectAll};
    QList<A> actions{A::Back, A::Forward, A::Reload, A::NoWebAction};
    if (!request.selectedText().isEmpty())
        actions.append(A::Copy);
    if (request.linkUrl().isValid())
        actions.append(A::CopyLinkToClipboard);
    if (request.mediaType() == QWebEngineContextMenuRequest::MediaTypeImage)
        actions.append(A::CopyImageToClipboard);
    actions.append(A::SelectAll);
    return actions;
}

// The stock view makes a default page, and so starts the engine, as soon as
// it is shown; this one leaves the engine alone until it is given its page.
class PageOnDemandView final : public QWebEngineView
{
public:
    // Drops go to the page, so the view takes none before it has one.
    explicit PageOnDemandView(QWidget *parent) : QWebEngineView(parent) { setAcceptDrops(false); }

    void givePage(QWebEnginePage *page)
    {
        setPage(page);
        m_hasPage = true;
        setAcceptDrops(true);
    }

protected:
    void showEvent(QShowEvent *event) override
    {
        m_hasPage ? QWebEngineView::showEvent(event) : QWidget::showEvent(event);
    }
    void hideEvent(QHideEvent *event) override
    {
        m_hasPage ? QWebEngineView::hideEvent(event) : QWidget::hideEvent(event);
    }
    // The menu offers what works in this program: moving through the pages
    // and the clipboard; no saving, source view or new windows.
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        const QWebEngineContextMenuRequest *request = lastContextMenuRequest();
        if (!m_hasPage || !request)
            return;
        auto *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (QWebEnginePage::WebAction action : menuActions(*request)) {
            if (action == QWebEnginePage::NoWebAction)
                menu->addSeparator();
            else
                menu->addAction(page()->action(action));
        }
        menu->popup(event->globalPos());
    }

private:
    bool m_hasPage = false;
};

class SnapshotPage final : public QWebEnginePage
{
public:
    SnapshotPage(QObject *parent, std::function<void()> domChanged)
        : QWebEnginePage(WebEngineBrowser::profile(), parent), m_domChanged(std::move(domChanged))
    {
        // Schemes the engine cannot show would otherwise go to the desktop.
        settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
        // No pop-ups without a click of the user.
        settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
        connect(this, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
            if (showsErrorPage(info))
                setHtml(errorPage(info), info.url());
        });
        QWebEngineScript observer;
        observer.setName(u"rivav-dom-observer"_s);
        observer.setSourceCode(observerScript);
        observer.setInjectionPoint(QWebEngineScript::DocumentCreation);
        observer.setWorldId(scriptWorld);
        observer.setRunsOnSubFrames(false);
        scripts().insert(observer);
    }

protected:
    // A link meant for a new window opens here.
    QWebEnginePage *createWindow(WebWindowType) override { return this; }

    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override
    {
        // The pages' own console output is theirs; it does not belong on the program's terminal.
        Q_UNUSED(level);
        Q_UNUSED(line);
        Q_UNUSED(source);
        if (message == domChangedMessage)
            m_domChanged();
    }

private:
    std::function<void()> m_domChanged;
};
} // namespace

QWebEngineProfile *WebEngineBrowser::profile()
{
    static QWebEngineProfile *const chinese = [] {
        QWebEngineProfile *profile = QWebEngineProfile::defaultProfile();
        profile->setHttpAcceptLanguage(u"zh-CN,zh"_s);
        return profile;
    }();
    return chinese;
}

WebEngineBrowser::WebEngineBrowser(QWidget *parent) : m_view(new PageOnDemandView(parent))
{
    m_delay.setSingleShot(true);
    QObject::connect(&m_delay, &QTimer::timeout, m_view, [this] { takeSnapshot(); });
    QObject::connect(m_view, &QWebEngineView::loadStarted, m_view, [this] { m_loading = true; });
    QObject::connect(m_view, &QWebEngineView::loadProgress, m_view, [this](int) { requestSnapshot(0); });
    QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool) {
        m_loading = false;
        requestSnapshot(0);
        // The cover goes once the page has had a moment to show.
        if (m_cover)
            QTimer::singleShot(coverAfterLoadMs, m_cover, &QObject::deleteLater);
    });
}

WebEngineBrowser::~WebEngineBrowser()
{
    m_alive.reset();
    delete m_view;
}

QWidget *WebEngineBrowser::widget()
{
    return m_view;
}

void WebEngineBrowser::navigate(const QString &url)
{
    if (!m_view)
        return;
    makePage();
    m_view->load(QUrl(url, QUrl::TolerantMode));
    // The page's first load puts the engine's view inside m_view, above the cover.
    if (m_cover)
        m_cover->raise();
}

void WebEngineBrowser::coverUntilLoaded(QWidget *cover)
{
    m_cover = cover;
    cover->setParent(m_view);
    cover->setGeometry(m_view->rect());
    cover->show();
}

void WebEngineBrowser::makePage()
{
    if (!m_page) {
        m_page = new SnapshotPage(m_view, [this] { requestSnapshot(changeDelay()); });
        static_cast<PageOnDemandView *>(m_view.get())->givePage(m_page);
    }
}

std::optional<DomSnapshot> WebEngineBrowser::document() const
{
    return m_snapshot;
}

int WebEngineBrowser::changeDelay() const
{
    return m_loading ? loadingChangeDelayMs : loadedChangeDelayMs;
}

void WebEngineBrowser::requestSnapshot(int delayMs)
{
    if (m_inFlight) {
        m_againDelayMs = m_againDelayMs < 0 ? delayMs : std::min(m_againDelayMs, delayMs);
        return;
    }
    if (delayMs == 0)
        takeSnapshot();
    else if (!m_delay.isActive() || m_delay.remainingTime() > delayMs)
        m_delay.start(delayMs);
}

void WebEngineBrowser::takeSnapshot()
{
    m_delay.stop();
    if (!m_view || !m_page || m_inFlight)
        return;
    m_inFlight = true;
    m_page->runJavaScript(snapshotScript, scriptWorld,
                          [this, alive = std::weak_ptr<int>(m_alive)](const QVariant &result) {
                              if (!alive.expired())
                                  snapshotTaken(result);
                          });
}

void WebEngineBrowser::snapshotTaken(const QVariant &result)
{
    m_inFlight = false;
    // A result that is no text means the document went away while the script ran.
    if (result.typeId() == QMetaType::QString) {
        auto [url, elements] = parseSnapshot(result.toString());
        // The empty document a view holds before its first page is no document.
        if (url != "about:blank"_L1)
            m_snapshot = std::move(elements);
    }
    if (const int delayMs = std::exchange(m_againDelayMs, -1); delayMs >= 0)
        requestSnapshot(delayMs);
}

void WebEngineBrowser::discard()
{
    // A hidden page can be discarded: the renderer drops its document.
    if (m_page && m_view && !m_view->isVisible())
        m_page->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
}

Browser *rivavMakeWebEngineBrowser(QWidget *parent)
{
    return new WebEngineBrowser(parent);
}
