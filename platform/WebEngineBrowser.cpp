#include "platform/WebEngineBrowser.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace {
// Collects tag name, name, value and all attributes of every element.
const QString snapshotScript = uR"JS(
(function () {
  var out = [];
  var all = document.getElementsByTagName('*');
  for (var i = 0; i < all.length; ++i) {
    var e = all[i], attrs = {};
    for (var j = 0; j < e.attributes.length; ++j)
      attrs[e.attributes[j].name.toLowerCase()] = e.attributes[j].value;
    out.push({t: e.tagName, n: e.getAttribute('name') || '',
              v: (e.value === undefined || e.value === null) ? '' : String(e.value), a: attrs});
  }
  return out;
})()
)JS"_s;

DomSnapshot toSnapshot(const QVariant &result)
{
    DomSnapshot snapshot;
    const QVariantList list = result.toList();
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
} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget *parent) : m_view(new QWebEngineView(parent))
{
    QObject::connect(m_view, &QWebEngineView::loadProgress, m_view, [this](int) { refreshSnapshot(); });
    QObject::connect(m_view, &QWebEngineView::loadFinished, m_view, [this](bool) { refreshSnapshot(); });
}

WebEngineBrowser::~WebEngineBrowser() = default;

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

void WebEngineBrowser::refreshSnapshot()
{
    if (!m_view)
        return;
    QPointer<QWebEngineView> view = m_view;
    m_view->page()->runJavaScript(snapshotScript, [this, view](const QVariant &result) {
        if (view && result.isValid())
            m_snapshot = toSnapshot(result);
    });
}
