#pragma once

#include <QByteArray>
#include <QStandardPaths>
#include <QString>

// The running copy's local socket, as the single-instance guard serves it and tarvo-cli asks it.
// Header only: tarvo-cli links no widgets, so it cannot link the platform library.
namespace InstanceSocket {

// One request line per connection. A later copy asks the running one to come forward:
inline const QByteArray comeForwardRequest = QByteArrayLiteral("come forward\n");
// The running copy answers one line, the status figures as JSON, and ends the connection:
inline const QByteArray statusRequest = QByteArrayLiteral("status\n");
// The bucket from the provider's figure: the prefix, then "remaining|percent|level VALUE" and the
// line end. The answer: "set TARVO_LEVEL PROVIDER_LEVEL", or one of the refusals.
inline const QByteArray setBucketPrefix = QByteArrayLiteral("set-bucket ");
inline const QByteArray setBucketDone = QByteArrayLiteral("set ");
inline const QByteArray setBucketWaiting = QByteArrayLiteral("refused waiting-for-ok\n");
inline const QByteArray setBucketRefused = QByteArrayLiteral("refused out-of-range\n");

// What a socket that serves the status answers to a request line: the figures `statusJson` gives
// (one line of JSON) for a status request, nothing for any other.
template<typename StatusJson>
QByteArray answerStatusRequest(const QByteArray &request, StatusJson &&statusJson)
{
    return request == statusRequest ? statusJson() + '\n' : QByteArray();
}

// $XDG_RUNTIME_DIR, or a folder of the user's own when it is unset.
inline QString userRuntimeDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// The socket of the copies called `name` (the executable's file name) in `directory`.
inline QString path(const QString &directory, const QString &name)
{
    return directory + u'/' + name + QStringLiteral(".socket");
}

} // namespace InstanceSocket
