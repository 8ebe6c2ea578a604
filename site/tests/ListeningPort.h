#pragma once

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QString>

// The port rivav-site names in the first line of its standard output,
// "listening on http://127.0.0.1:PORT/", or 0 while there is no such line.
inline int listeningPort(const QByteArray &firstLine)
{
    static const QRegularExpression listening(QStringLiteral("^listening on http://127\\.0\\.0\\.1:(\\d+)/"));
    return listening.match(QString::fromUtf8(firstLine)).captured(1).toInt();
}

// The same, from the file its standard output goes to.
inline int listeningPortIn(const QString &outputFile)
{
    QFile out(outputFile);
    return out.open(QIODevice::ReadOnly) ? listeningPort(out.readLine()) : 0;
}
