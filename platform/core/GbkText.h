#pragma once

#include <QByteArray>
#include <QString>

// Text in the GBK code page (code page 936), with GB18030 for what GBK lacks,
// the same on every ICU release: a lone byte 0x80 is € and A3A0 is U+E5E5,
// as in the code page, and the 18 codes that GB18030-2005 gave private-use code points are the
// characters GB18030-2022 gives them (U+FE10-U+FE19, U+9FB4-U+9FBB).
namespace GbkText {
// Broken bytes, and a character cut off at the end, each become U+FFFD.
QString decode(QByteArrayView bytes);
// € becomes A2E3 (GB18030's code, which any GB18030 reader takes); the 18
// characters and their old private-use code points both become their code.
QByteArray encode(QStringView text);
// The text as decode(encode(text)) returns it: the old private-use code
// points of the 18 replaced by the characters.
QString standardized(QString text);
} // namespace GbkText
