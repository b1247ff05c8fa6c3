#include "platform/singleinstanceguard.h"

#include "platform/instancesocket.h"
#include "platform/requestlistener.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// QLockFile reads a lock it finds up to its line ends: a link to /dev/zero would fill the memory
// and a pipe would block for ever. Neither is a lock a copy of the program made, so it goes.
QString lockPath(const QString &directory, const QString &name)
{
    return directory + u'/' + name + QStringLiteral(".lock");
}

void removeForeignLock(const QString &path)
{
    constexpr off_t largestLock = 4096;
    const QByteArray name = QFile::encodeName(path);
    struct stat status{};
    if (::lstat(name.constData(), &status) == 0 && (!S_ISREG(status.st_mode) || status.st_size > largestLock))
        ::unlink(name.constData());
}
} // namespace

SingleInstanceGuard::SingleInstanceGuard(const QString &name, const QString &directory, QObject *parent)
    : QObject(parent)
    , m_socketPath(InstanceSocket::path(directory, name))
    , m_lock(lockPath(directory, name))
{
    // The lock lives exactly as long as its process: only a dead holder makes it stale, never age.
    m_lock.setStaleLockTime(0);
    if (directory.isEmpty())
        return;
    removeForeignLock(lockPath(directory, name));
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
    auto *listener = new RequestListener([this](const QByteArray &request) { return answer(request); }, {}, this);
    // Without the socket later copies still end; they just cannot bring this one forward.
    // The status tells what this user downloads: nobody else may connect.
    if (!listener->listen(m_socketPath))
        delete listener;
}

QByteArray SingleInstanceGuard::answer(const QByteArray &request)
{
    if (request == InstanceSocket::comeForwardRequest)
        Q_EMIT comeForwardRequested();
    else if (request.startsWith(InstanceSocket::setBucketPrefix) && request.endsWith('\n') && m_setBucketHandler)
        return m_setBucketHandler(request.mid(InstanceSocket::setBucketPrefix.size()).trimmed());
    else if (m_statusProvider)
        return InstanceSocket::answerStatusRequest(request, m_statusProvider);
    return {};
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
