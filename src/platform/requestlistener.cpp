#include "platform/requestlistener.h"

#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// How long to wait before accepting again after the process ran out of descriptors or memory.
constexpr std::chrono::milliseconds acceptRetry{200};
} // namespace

RequestListener::RequestListener(Handler handler, const RequestLimits &limits, QObject *parent)
    : QObject(parent)
    , m_handler(std::move(handler))
    , m_limits(limits)
{
}

RequestListener::~RequestListener()
{
    // The connections go first, so none reports its end to a listener half destroyed.
    const auto sockets = findChildren<QLocalSocket *>(Qt::FindDirectChildrenOnly);
    for (QLocalSocket *socket : sockets) {
        socket->disconnect(this);
        delete socket;
    }
    if (m_descriptor < 0)
        return;
    delete m_notifier;
    ::close(m_descriptor);
    ::unlink(QFile::encodeName(m_path).constData());
}

bool RequestListener::listen(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_descriptor >= 0 || name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    ::unlink(name.constData());
    // Nobody can connect before listen(), so the mode is set before anyone could use the socket.
    struct stat status{};
    const bool made = ::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
                      && ::chmod(name.constData(), S_IRUSR | S_IWUSR) == 0
                      && ::lstat(name.constData(), &status) == 0 && S_ISSOCK(status.st_mode)
                      && (status.st_mode & (S_IRWXG | S_IRWXO)) == 0 && ::listen(descriptor, SOMAXCONN) == 0;
    if (!made) {
        ::close(descriptor);
        return false;
    }
    m_path = path;
    m_descriptor = descriptor;
    m_notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &RequestListener::acceptPending);
    return true;
}

void RequestListener::acceptPending()
{
    while (m_open < m_limits.maxConnections) {
        const int descriptor = ::accept4(m_descriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor >= 0) {
            serve(descriptor);
            continue;
        }
        if (errno == EINTR || errno == ECONNABORTED)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            // Out of descriptors or memory: the client waits in the queue until some are free.
            m_paused = true;
            m_notifier->setEnabled(false);
            QTimer::singleShot(acceptRetry, this, [this] {
                m_paused = false;
                resumeAccepting();
            });
        }
        return;
    }
    // Full: the next clients wait in the kernel's queue until a connection ends.
    m_notifier->setEnabled(false);
}

void RequestListener::resumeAccepting()
{
    if (m_paused || m_open >= m_limits.maxConnections)
        return;
    m_notifier->setEnabled(true);
    acceptPending();
}

void RequestListener::serve(int descriptor)
{
    auto *socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        delete socket;
        return;
    }
    ++m_open;
    connect(socket, &QObject::destroyed, this, &RequestListener::connectionEnded);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Whatever the client does, the connection ends in time.
    QTimer::singleShot(m_limits.requestTime, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    auto read = [this, socket] {
        if (socket->state() != QLocalSocket::ConnectedState
            || (!socket->canReadLine() && socket->bytesAvailable() <= m_limits.maxRequestBytes))
            return;
        const QByteArray answer = m_handler(socket->readLine(m_limits.maxRequestBytes + 1));
        if (!answer.isEmpty())
            socket->write(answer);
        // Leaves once what was written has gone out.
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read(); // what arrived before the connection was taken
}

void RequestListener::connectionEnded()
{
    --m_open;
    // Not from inside the socket's destruction: accepting may make new sockets.
    QTimer::singleShot(0, this, &RequestListener::resumeAccepting);
}
