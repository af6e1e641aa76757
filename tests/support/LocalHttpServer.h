#pragma once
// A small HTTP server on 127.0.0.1 for web tests: records every request line and answers with
// pages set by the test, or a page titled after the requested path.
#include <QHash>
#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

class LocalHttpServer
{
public:
    LocalHttpServer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] { accept(); });
    }

    bool start() { return m_server.listen(QHostAddress::LocalHost, 0); }
    // "http://127.0.0.1:PORT", no trailing slash.
    QString baseUrl() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    QString url(const QString &path) const { return baseUrl() + path; }

    // The page served for a path (without its query).
    void setPage(const QString &path, const QByteArray &html)
    {
        setReply(path, "200 OK", {}, html);
    }
    // Any other answer for a path: a status such as "404 Not Found", further header lines
    // (each ending in CR LF), and the body.
    void setReply(const QString &path, const QByteArray &status, const QByteArray &headers,
        const QByteArray &body)
    {
        m_pages.insert(path, Reply { status, headers, body });
    }

    // Request targets ("/path?query") in the order they arrived; the favicon is left out.
    QStringList requests;
    // The same, only those whose path (without query) equals path.
    QStringList requestsFor(const QString &path) const
    {
        QStringList found;
        for (const QString &r : requests) {
            if (r.section(QLatin1Char('?'), 0, 0) == path)
                found << r;
        }
        return found;
    }

    static QByteArray titledPage(const QString &title)
    {
        return QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head>"
                              "<body><p>%1</p></body></html>")
            .arg(title.toHtmlEscaped())
            .toUtf8();
    }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            auto *buffer = new QByteArray;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                const qsizetype end = buffer->indexOf("\r\n\r\n");
                if (end < 0)
                    return;
                const QList<QByteArray> requestLine
                    = buffer->left(buffer->indexOf("\r\n")).split(' ');
                buffer->clear();
                const QString target
                    = requestLine.size() > 1 ? QString::fromLatin1(requestLine.at(1)) : QString();
                respond(socket, target);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
                delete buffer;
                socket->deleteLater();
            });
        }
    }

    void respond(QTcpSocket *socket, const QString &target)
    {
        const QString path = target.section(QLatin1Char('?'), 0, 0);
        if (path == QLatin1String("/favicon.ico")) {
            socket->write(
                "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        requests << target;
        const Reply reply = m_pages.value(path, Reply { "200 OK", {}, titledPage(path) });
        const QByteArray type = reply.headers.contains("Content-Type:")
            ? QByteArray()
            : QByteArray("Content-Type: text/html; charset=utf-8\r\n");
        socket->write("HTTP/1.1 " + reply.status + "\r\n" + type + reply.headers
            + "Cache-Control: no-store\r\nConnection: close\r\nContent-Length: "
            + QByteArray::number(reply.body.size()) + "\r\n\r\n" + reply.body);
        socket->disconnectFromHost();
    }

    struct Reply
    {
        QByteArray status;
        QByteArray headers;
        QByteArray body;
    };

    QTcpServer m_server;
    QHash<QString, Reply> m_pages;
};

// A port on which nobody listens: connections to it are refused at once.
inline quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
