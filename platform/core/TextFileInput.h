#pragma once

#include <QString>

// Reads the first line of a text file in the GBK code page (decoded as
// GB18030, its superset). The line ends at CR or CR LF; a lone LF stays in
// the text. Without a line end the whole file is the line. A line that starts
// with the UTF-8 byte order mark is read as UTF-8.
struct FirstLine
{
    enum class Status
    {
        Ok,
        Missing,
        NotAFile,
        Unreadable,
        Empty
    };
    Status status = Status::Missing;
    QString text;
};

FirstLine readFirstLineGbk(const QString &path);
QString firstLineOfGbk(const QByteArray &bytes);
