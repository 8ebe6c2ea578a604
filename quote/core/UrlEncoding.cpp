#include "quote/core/UrlEncoding.h"

#include "platform/core/GbkText.h"

QString UrlEncoding::percentEncodeGbk(const QString &value)
{
    return QString::fromLatin1(GbkText::encode(value).toPercentEncoding());
}
