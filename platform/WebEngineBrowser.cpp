#include "platform/WebEngineBrowser.h"

#include <QUrl>
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
// has one as text (INPUT and other form controls), else the attribute.
const QString snapshotScript = uR"JS(
(function () {
  window.rivavDomPending = false;
  var out = [];
  var all = document.getElementsByTagName('*');
  for (var i = 0; i < all.length; ++i) {
    var e = all[i], attrs = {}, list = e.attributes;
    for (var j = 0; j < list.length; ++j)
      attrs[list[j].name.toLowerCase()] = list[j].value;
    var value = e.value;
    out.push({t: e.tagName, n: e.getAttribute('name') || '',
              v: typeof value === 'string' ? value : (e.getAttribute('value') || ''), a: attrs});
  }
  return {url: document.URL, elements: out};
})()
)JS"_s;

DomSnapshot toSnapshot(const QVariantList &list)
{
    DomSnapshot snapshot;
    snapshot.reserve(list.size());
    for (const QVariant &item : list) {
        const QVariantMap map = item.toMap();
        DomElement element{
            map.value(u"t"_s).toString(), map.value(u"n"_s).toString(), map.value(u"v"_s).toString(), {}};
        const QVariantMap attributes = map.value(u"a"_s).toMap();
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
            element.attributes.insert(it.key(), it.value().toString());
        snapshot.append(std::move(element));
    }
    return snapshot;
}

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
    return QWebEngineProfile::defaultProfile();
}

WebEngineBrowser::WebEngineBrowser(QWidget *parent) : m_view(new QWebEngineView(parent))
{
    m_delay.setSingleShot(true);
    QObject::connect(&m_delay, &QTimer::timeout, m_view, [this] { takeSnapshot(); });
    m_view->setPage(new SnapshotPage(m_view, [this] { requestSnapshot(changeDelay()); }));
    QObject::connect(m_view, &QWebEngineView::loadStarted, m_view, [this] { m_loading = true; });
    QObject::connect(m_view, &QWebEngineView::loadProgress, m_view, [this](int) { requestSnapshot(0); });
    QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool) {
        m_loading = false;
        requestSnapshot(0);
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
    if (m_view)
        m_view->load(QUrl(url, QUrl::TolerantMode));
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
    if (!m_view || m_inFlight)
        return;
    m_inFlight = true;
    m_view->page()->runJavaScript(snapshotScript, scriptWorld,
                                  [this, alive = std::weak_ptr<int>(m_alive)](const QVariant &result) {
                                      if (!alive.expired())
                                          snapshotTaken(result);
                                  });
}

void WebEngineBrowser::snapshotTaken(const QVariant &result)
{
    m_inFlight = false;
    // An invalid result means the document went away while the script ran.
    if (result.isValid()) {
        const QVariantMap map = result.toMap();
        // The empty document a view holds before its first page is no document.
        if (map.value(u"url"_s).toString() != "about:blank"_L1)
            m_snapshot = toSnapshot(map.value(u"elements"_s).toList());
    }
    if (const int delayMs = std::exchange(m_againDelayMs, -1); delayMs >= 0)
        requestSnapshot(delayMs);
}
