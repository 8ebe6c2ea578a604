#include "platform/core/TextFileInput.h"

#include "platform/core/GbkText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

QString firstLineOfGbk(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\r');
    QByteArrayView line = end < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(end);
    // A file saved as UTF-8 by an editor that marks it so is read as UTF-8;
    // no GBK region line starts with these three bytes.
    if (line.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        return utf8.decode(line.sliced(3));
    }
    return GbkText::decode(line);
}

FirstLine readFirstLineGbk(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {FirstLine::Status::Missing, {}};
    if (!info.isFile())
        return {FirstLine::Status::NotAFile, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {FirstLine::Status::Unreadable, {}};
    // Only the first line counts, but it may be long: read up to the first CR.
    // Read until nothing comes: files of some file systems report no size.
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = file.read(64 * 1024);
        if (file.error() != QFileDevice::NoError)
            return {FirstLine::Status::Unreadable, {}};
        if (chunk.isEmpty())
            break;
        const qsizetype cr = chunk.indexOf('\r');
        bytes += cr < 0 ? chunk : chunk.first(cr + 1);
        if (cr >= 0)
            break;
    }
    if (bytes.isEmpty())
        return {FirstLine::Status::Empty, {}};
    return {FirstLine::Status::Ok, firstLineOfGbk(bytes)};
}
