#include "platform/singleinstanceguard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
const QByteArray comeForwardRequest = QByteArrayLiteral("come forward\n");
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &name, const QString &directory, QObject *parent)
    : QObject(parent)
    , m_socketPath(directory + u'/' + name + QStringLiteral(".socket"))
    , m_lock(directory + u'/' + name + QStringLiteral(".lock"))
{
    // The lock lives exactly as long as its process: only a dead holder makes it stale, never age.
    m_lock.setStaleLockTime(0);
    if (directory.isEmpty())
        return;
    if (m_lock.tryLock(0)) {
        listen();
        return;
    }
    m_first = m_lock.error() != QLockFile::LockFailedError;
}

QString SingleInstanceGuard::programName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString SingleInstanceGuard::userRuntimeDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

void SingleInstanceGuard::listen()
{
    // Only the holder of the lock may remove a socket a crashed copy left behind.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstanceGuard::serveRequests);
    // Without the socket later copies still end; they just cannot bring this one forward.
    m_server->listen(m_socketPath);
}

void SingleInstanceGuard::serveRequests()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine(comeForwardRequest.size() + 1) == comeForwardRequest)
                Q_EMIT comeForwardRequested();
            socket->disconnectFromServer();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read(); // what arrived before the connection was taken
    }
}

bool SingleInstanceGuard::askFirstCopyForward(std::chrono::milliseconds wait) const
{
    const QDeadlineTimer deadline(wait);
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(deadline.remainingTime()))
        return false;
    socket.write(comeForwardRequest);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(deadline.remainingTime()))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
