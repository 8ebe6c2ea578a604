#include "quote/core/UrlEncoding.h"

#include <QStringEncoder>

QString UrlEncoding::percentEncodeGbk(const QString &value)
{
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(value);
    return QString::fromLatin1(bytes.toPercentEncoding());
}
