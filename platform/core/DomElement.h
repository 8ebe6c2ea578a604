#pragma once

#include <QHash>
#include <QList>
#include <QString>

// One element of a snapshot of a web document, in document order.
struct DomElement
{
    QString tagName;
    QString name;
    QString value;
    QHash<QString, QString> attributes; // keyed by lower-case attribute name

    QString attribute(const QString &attributeName) const
    {
        return attributes.value(attributeName.toLower());
    }
};

using DomSnapshot = QList<DomElement>;
