#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

// Only one copy of the program runs per user and executable file name. The first copy holds a
// lock file for as long as it lives and listens on a local socket of the same name, which only
// the user can reach; a later copy finds the lock taken, asks the first to come forward through
// the socket, and ends. The socket also answers tarvo-cli's status request (instancesocket.h).
// A client gets 2 s for its request and at most 16 are served at once (RequestListener).
class SingleInstanceGuard : public QObject
{
    Q_OBJECT

public:
    // `name` is what copies that see each other share (the executable's file name); the lock and
    // the socket live in `directory`, which belongs to the user.
    SingleInstanceGuard(const QString &name, const QString &directory, QObject *parent = nullptr);

    // The file name of the running executable, without its directory.
    static QString programName();

    // True unless another living copy holds the lock. A lock that cannot be made at all (no
    // folder, or one that cannot be written) does not stop the program: it then runs unguarded.
    bool isFirstCopy() const { return m_first; }

    // For a later copy: asks the first copy to bring its window forward, waiting at most `wait`.
    // False when it could not be reached (it may be starting or ending); the caller ends anyway.
    bool askFirstCopyForward(std::chrono::milliseconds wait = std::chrono::seconds(1)) const;

    // In the first copy: what a status request is answered with, one line without its line end.
    // Without a provider the request is closed unanswered.
    using StatusProvider = std::function<QByteArray()>;
    void setStatusProvider(StatusProvider provider) { m_statusProvider = std::move(provider); }
    // In the first copy: the answer to a set-bucket request, given what follows its prefix.
    // Without a handler the request is closed unanswered.
    using SetBucketHandler = std::function<QByteArray(const QByteArray &argument)>;
    void setSetBucketHandler(SetBucketHandler handler) { m_setBucketHandler = std::move(handler); }

Q_SIGNALS:
    // In the first copy: a later copy was started.
    void comeForwardRequested();

private:
    void listen();
    QByteArray answer(const QByteArray &request);

    QString m_socketPath;
    QLockFile m_lock;
    StatusProvider m_statusProvider;
    SetBucketHandler m_setBucketHandler;
    bool m_first = true;
};
