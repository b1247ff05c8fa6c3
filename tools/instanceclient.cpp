#include "instanceclient.h"

#include "platform/instancesocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QString>

#include <cstdio>

namespace {
// An answer is a few hundred bytes; a longer one is not an answer.
constexpr qint64 maxAnswerSize = 64 * 1024;
} // namespace

int failWith(int status, const QString &message)
{
    std::fprintf(stderr, "tarvo-cli: %s\n", message.toLocal8Bit().constData());
    return status;
}

std::variant<QByteArray, int> askRunningTarvo(const QByteArray &request, std::chrono::milliseconds wait,
                                              const QString &socketPath)
{
    const QString path = !socketPath.isEmpty()
                             ? socketPath
                             : InstanceSocket::path(InstanceSocket::userRuntimeDirectory(), QStringLiteral("tarvo"));
    const QDeadlineTimer deadline(wait);
    const auto busy = [&] {
        return failWith(busyExit, QCoreApplication::translate("tarvo-cli", "Tarvo is running but did not answer within %1 s (busy?)")
                                      .arg(double(wait.count()) / 1000.0));
    };
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(deadline.remainingTime())) {
        switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
            return failWith(notRunningExit, QCoreApplication::translate("tarvo-cli", "Tarvo is not running (no %1)").arg(path));
        case QLocalSocket::ConnectionRefusedError:
            return failWith(notRunningExit,
                            QCoreApplication::translate("tarvo-cli", "Tarvo is not running (%1 is left from a copy that was killed)").arg(path));
        case QLocalSocket::SocketTimeoutError:
            return busy();
        default:
            return failWith(2, QCoreApplication::translate("tarvo-cli", "cannot reach Tarvo at %1: %2").arg(path, socket.errorString()));
        }
    }
    socket.write(request);
    while (!socket.canReadLine() && socket.bytesAvailable() <= maxAnswerSize) {
        if (socket.waitForReadyRead(deadline.remainingTime()))
            continue;
        if (socket.error() == QLocalSocket::SocketTimeoutError)
            return busy();
        // It ends the connection while a box at start-up waits for the user: busy, not broken.
        return failWith(busyExit, QCoreApplication::translate("tarvo-cli", "Tarvo is running but ended the connection without an answer "
                                                                      "(a box waiting for an answer?)"));
    }
    return socket.readLine(maxAnswerSize + 1).trimmed();
}
