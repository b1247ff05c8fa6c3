#pragma once

#include <QByteArray>
#include <QLocalSocket>
#include <QString>
#include <QTest>

// What the server sends on `socket` until it ends the connection; "(still connected)" when it has
// not ended it within 30 s.
inline QByteArray answerUntilClosed(QLocalSocket &socket)
{
    QByteArray answer;
    const bool ended = QTest::qWaitFor(
        [&] {
            answer += socket.readAll();
            return socket.state() == QLocalSocket::UnconnectedState;
        },
        30000);
    return ended ? answer + socket.readAll() : "(still connected)";
}

// What the local socket at `path` answers to `request` before it ends the connection.
inline QByteArray answerTo(const QString &path, const QByteArray &request)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(5000))
        return "(not connected)";
    socket.write(request);
    return answerUntilClosed(socket);
}
