#pragma once

#include <QString>

namespace UrlEncoding {
// A query value for the vendor's service: the text in GBK (GbkText), each
// byte outside A-Z a-z 0-9 - . _ ~ written as %XX with upper-case hex.
QString percentEncodeGbk(const QString &value);
} // namespace UrlEncoding
