// The first line of a region file from arbitrary bytes, decoded from GBK.
#include "FuzzSupport.h"

#include "platform/core/TextFileInput.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

    // Nothing of the line vanishes: bytes that decode cleanly come back
    // unchanged when encoded again, and broken ones leave a U+FFFD behind.
    QStringDecoder strict("GB18030", QStringDecoder::Flag::Stateless);
    const QString decoded = strict.decode(head);
    if (strict.hasError()) {
        FUZZ_CHECK(line.contains(QChar::ReplacementCharacter), line);
    } else {
        QStringEncoder encoder("GB18030");
        FUZZ_CHECK(QByteArray(encoder.encode(line)) == head, line);
    }
    bool ascii = true;
    for (char c : head)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        FUZZ_CHECK(line == QString::fromLatin1(head), line);
    return 0;
}
