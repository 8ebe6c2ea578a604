#include "platform/core/GbkText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

struct Remapped
{
    char16_t privateUse;
    char16_t standard;
};

// ICU decodes these codes to the private-use code point up to its GB18030-2005
// tables (ICU 72) and to the character from its GB18030-2022 ones (ICU 73 on);
// both encode either code point to the same code.
constexpr Remapped remapped[] = {
    {0xE78D, 0xFE10}, {0xE78E, 0xFE12}, {0xE78F, 0xFE11}, {0xE790, 0xFE13}, {0xE791, 0xFE14},
    {0xE792, 0xFE15}, {0xE793, 0xFE16}, {0xE794, 0xFE17}, {0xE795, 0xFE18}, {0xE796, 0xFE19},
    {0xE81E, 0x9FB4}, {0xE826, 0x9FB5}, {0xE82B, 0x9FB6}, {0xE82C, 0x9FB7}, {0xE832, 0x9FB8},
    {0xE843, 0x9FB9}, {0xE854, 0x9FBA}, {0xE864, 0x9FBB},
};

struct Override
{
    const char *bytes;
    char16_t character;
};

// Codes ICU reads differently by release, read as code page 936 does: ICU up
// to 72 refuses a lone 0x80, later releases read it as €; A3A0 is U+E5E5 up
// to 72 and U+3000 (which encodes as A1A1) later.
constexpr Override overrides[] = {{"\x80", 0x20AC}, {"\xA3\xA0", 0xE5E5}};

bool inRange(uchar byte, uchar first, uchar last)
{
    return byte >= first && byte <= last;
}

// Length of the GB18030 sequence that starts at bytes[i]; 1 for a single byte
// and for a lead byte that starts no valid sequence.
qsizetype sequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return k < bytes.size() ? uchar(bytes[k]) : uchar(0); };
    if (!inRange(at(i), 0x81, 0xFE))
        return 1;
    if (inRange(at(i + 1), 0x30, 0x39))
        return inRange(at(i + 2), 0x81, 0xFE) && inRange(at(i + 3), 0x30, 0x39) ? 4 : 1;
    return inRange(at(i + 1), 0x40, 0x7E) || inRange(at(i + 1), 0x80, 0xFE) ? 2 : 1;
}

QString decodePiece(QByteArrayView bytes)
{
    QStringDecoder decoder("GB18030");
    QString text = decoder.decode(bytes);
    // A character cut off at the end stays pending in the decoder and would
    // vanish without a trace. A CR is never part of a multi-byte character,
    // so decoding one flushes it as U+FFFD.
    text += decoder.decode(QByteArrayView("\r"));
    text.chop(1);
    return text;
}

} // namespace

QString GbkText::decode(QByteArrayView bytes)
{
    // ICU decodes the pieces between the codes it reads differently by release.
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0, length = 0; i < bytes.size(); i += length) {
        length = sequenceLength(bytes, i);
        const QByteArrayView sequence = bytes.sliced(i, std::min(length, bytes.size() - i));
        for (const Override &o : overrides) {
            if (sequence != QByteArrayView(o.bytes))
                continue;
            text += decodePiece(bytes.sliced(start, i - start));
            text += QChar(o.character);
            start = i + length;
        }
    }
    text += decodePiece(bytes.sliced(start));
    return standardized(std::move(text));
}

QByteArray GbkText::encode(QStringView text)
{
    QString privateUse = text.toString();
    for (QChar &c : privateUse) {
        for (const Remapped &r : remapped) {
            if (c.unicode() == r.standard)
                c = QChar(r.privateUse);
        }
    }
    QStringEncoder encoder("GB18030");
    return encoder.encode(privateUse);
}

QString GbkText::standardized(QString text)
{
    for (QChar &c : text) {
        for (const Remapped &r : remapped) {
            if (c.unicode() == r.privateUse)
                c = QChar(r.standard);
        }
    }
    return text;
}
