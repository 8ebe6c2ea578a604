#include "platform/TextFileInput.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

QString firstLineOfGbk(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\r');
    QStringDecoder decoder("GB18030");
    QString line = decoder.decode(end < 0 ? bytes : bytes.first(end));
    // A character cut off by the end of the line stays pending in the decoder
    // and would vanish without a trace. A CR is never part of a multi-byte
    // character, so decoding one flushes it as U+FFFD, like a broken character
    // anywhere else in the line.
    line += decoder.decode(QByteArrayView("\r"));
    line.chop(1);
    return line;
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
    QByteArray bytes;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(64 * 1024);
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
