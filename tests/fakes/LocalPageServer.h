#pragma once

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>

// A tiny HTTP server on 127.0.0.1 for pages a real browser engine loads in
// tests. A page may be held: its head is sent at once and the connection
// stays open until release(), so the browser sees a page still loading. A
// held page without head is a server that never answers.
class LocalPageServer : public QObject
{
public:
    LocalPageServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost, 0))
            qFatal("cannot listen on 127.0.0.1");
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    void setPage(const QString &path, const QByteArray &html) { m_pages.insert(path, {html, false}); }
    void setHeldPage(const QString &path, const QByteArray &head, const QByteArray &tail)
    {
        m_pages.insert(path, {head, true});
        m_tails.insert(path, tail);
    }

    QString url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:") + QString::number(m_server.serverPort()) + path;
    }

    // Sends the rest of every held page and ends it.
    void release()
    {
        for (const auto &[socket, path] : std::as_const(m_held)) {
            if (!socket)
                continue;
            socket->write(m_tails.value(path));
            socket->disconnectFromHost();
        }
        m_held.clear();
    }

    QStringList requested;

private:
    struct Page
    {
        QByteArray body;
        bool held = false;
    };

    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        }
    }

    void serve(QTcpSocket *socket)
    {
        if (m_answered.contains(socket)) {
            socket->readAll();
            return;
        }
        QByteArray &request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        m_requests.remove(socket);
        m_answered.insert(socket);
        requested.append(path);
        const auto page = m_pages.constFind(path);
        if (page == m_pages.constEnd()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        if (page->held && page->body.isEmpty()) {
            m_held.append({socket, path});
            return;
        }
        socket->write(
            "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n"
            "Connection: close\r\n\r\n");
        socket->write(page->body);
        if (page->held)
            m_held.append({socket, path});
        else
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, Page> m_pages;
    QHash<QString, QByteArray> m_tails;
    QHash<QTcpSocket *, QByteArray> m_requests;
    QSet<QTcpSocket *> m_answered;
    QList<std::pair<QPointer<QTcpSocket>, QString>> m_held;
};
