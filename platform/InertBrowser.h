#pragma once

#include "platform/Browser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

// A browser that loads nothing: a blank widget that records where it was
// sent and serves a document set by its owner. Used where no page may load.
class InertBrowser : public Browser
{
public:
    explicit InertBrowser(QWidget *parent) : m_widget(new QWidget(parent)) {}

    QWidget *widget() override { return m_widget; }
    void navigate(const QString &url) override { m_navigations.append(url); }
    std::optional<DomSnapshot> document() const override { return m_document; }
    void coverUntilLoaded(QWidget *cover) override
    {
        cover->setParent(m_widget);
        cover->setGeometry(m_widget->rect());
        cover->show();
    }

    void discard() override { m_document.reset(); }

    void setDocument(std::optional<DomSnapshot> document) { m_document = std::move(document); }
    const QStringList &navigations() const { return m_navigations; }

private:
    QPointer<QWidget> m_widget;
    QStringList m_navigations;
    std::optional<DomSnapshot> m_document;
};

// Makes inert browsers, for windows that may load no page.
inline BrowserFactory inertBrowsers()
{
    return [](QWidget *parent) { return std::make_unique<InertBrowser>(parent); };
}
