#include "platform/singleinstanceguard.h"

#include "platform/instancesocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// Longer than any request; a longer line is none of them.
constexpr qint64 maxRequestSize = 64;

bool onlyOwnerMayConnect(const QString &socketPath)
{
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther;
    return !(QFile::permissions(socketPath) & others);
}
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &name, const QString &directory, QObject *parent)
    : QObject(parent)
    , m_socketPath(InstanceSocket::path(directory, name))
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

void SingleInstanceGuard::listen()
{
    // Only the holder of the lock may remove a socket a crashed copy left behind.
    QLocalServer::removeServer(m_socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstanceGuard::serveRequests);
    // Without the socket later copies still end; they just cannot bring this one forward.
    // The status tells what this user downloads: nobody else may connect (that needs write access).
    if (m_server->listen(m_socketPath) && !onlyOwnerMayConnect(m_socketPath))
        m_server->close();
}

void SingleInstanceGuard::serveRequests()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        auto read = [this, socket] {
            if (socket->state() != QLocalSocket::ConnectedState
                || (!socket->canReadLine() && socket->bytesAvailable() <= maxRequestSize))
                return;
            const QByteArray request = socket->readLine(maxRequestSize + 1);
            if (request == InstanceSocket::comeForwardRequest)
                Q_EMIT comeForwardRequested();
            else if (request == InstanceSocket::statusRequest && m_statusProvider)
                socket->write(m_statusProvider() + '\n');
            // Leaves once what was written has gone out.
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
    socket.write(InstanceSocket::comeForwardRequest);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(deadline.remainingTime()))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
