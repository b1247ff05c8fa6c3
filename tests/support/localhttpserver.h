#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

#include <utility>

// A web server on 127.0.0.1 for tests: answers each path (query ignored) with canned bytes and
// remembers the request targets it saw. A path with no answer gets a 404.
class LocalHttpServer {
public:
    // What to do with a request: send raw bytes, then close the connection (or keep it open),
    // or say nothing at all (a server that accepts and never answers).
    struct Answer {
        QByteArray raw;
        bool close = true;
    };

    LocalHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
        });
    }

    // "127.0.0.1:port", as the program's host settings take it.
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    QString url(const QString &target) const { return QStringLiteral("http://") + host() + target; }

    void answer(const QByteArray &path, Answer answer) { m_answers.insert(path, std::move(answer)); }
    void answer(const QByteArray &path, int status, const QByteArray &body)
    {
        answer(path, Answer{response(status, body)});
    }
    void neverAnswer(const QByteArray &path) { m_silent.append(path); }

    // A complete HTTP/1.0 reply; extra headers are whole lines without their line end.
    static QByteArray response(int status, const QByteArray &body, const QList<QByteArray> &headers = {})
    {
        QByteArray raw = "HTTP/1.0 " + QByteArray::number(status) + " Status\r\n";
        raw += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
        for (const QByteArray &header : headers)
            raw += header + "\r\n";
        return raw + "\r\n" + body;
    }

    const QList<QByteArray> &requests() const { return m_requests; }

private:
    void serve(QTcpSocket *socket)
    {
        QByteArray &pending = m_pending[socket];
        pending += socket->readAll();
        if (!pending.contains("\r\n\r\n"))
            return;
        const QByteArray target = pending.left(pending.indexOf("\r\n")).split(' ').value(1);
        m_pending.remove(socket);
        m_requests.append(target);
        const QByteArray path = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
        if (m_silent.contains(path))
            return;
        const Answer answer = m_answers.value(path, Answer{response(404, "not found")});
        socket->write(answer.raw);
        if (answer.close)
            socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QList<QByteArray> m_silent;
    QHash<QTcpSocket *, QByteArray> m_pending;
    QList<QByteArray> m_requests;
};
