// The first line of a region file from arbitrary bytes, decoded from GBK.
#include "FuzzSupport.h"

#include "platform/core/GbkText.h"
#include "platform/core/TextFileInput.h"

#include <QStringDecoder>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString line = firstLineOfGbk(bytes);

    const qsizetype cr = bytes.indexOf('\r');
    const QByteArray head = cr < 0 ? bytes : bytes.first(cr);
    FUZZ_CHECK(!line.contains(u'\r'), line);
    // A lone LF stays in the line; every LF of the head is kept.
    FUZZ_CHECK(line.count(u'\n') == head.count('\n'), line);

    // A line marked as UTF-8 by its byte order mark is read as UTF-8.
    if (head.startsWith("\xEF\xBB\xBF")) {
        FUZZ_CHECK(line == QString::fromUtf8(head.sliced(3)), line);
        return 0;
    }

    // Nothing of the line vanishes: broken bytes leave a U+FFFD behind, and
    // bytes that decode cleanly come back unchanged when encoded again. (Qt
    // 6.8 reports no error for a character cut off at the end, which leaves
    // a U+FFFD too.) A lone 0x80 (€, but A2E3 when encoded) is left to the
    // text round trip, which holds for every line.
    if (!head.contains('\x80')) {
        QStringDecoder strict("GB18030", QStringDecoder::Flag::Stateless);
        strict.decode(head);
        if (strict.hasError())
            FUZZ_CHECK(line.contains(QChar::ReplacementCharacter), line);
        else if (!line.contains(QChar::ReplacementCharacter))
            FUZZ_CHECK(GbkText::encode(line) == head, line);
    }
    FUZZ_CHECK(GbkText::decode(GbkText::encode(line)) == line, line);
    bool ascii = true;
    for (char c : head)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        FUZZ_CHECK(line == QString::fromLatin1(head), line);
    return 0;
}
