#include "status.h"

#include "meter/statusfigures.h"
#include "platform/instancesocket.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>

#include <cstdio>

namespace {

// The answer is a few hundred bytes; a longer one is not an answer.
constexpr qint64 maxAnswerSize = 64 * 1024;

int fail(int status, const QString &message)
{
    std::fprintf(stderr, "tarvo-cli: %s\n", message.toLocal8Bit().constData());
    return status;
}

} // namespace

std::variant<StatusOptions, QString> parseStatusOptions(const QStringList &arguments)
{
    StatusOptions options;
    for (const QString &argument : arguments) {
        if (argument != u"--json")
            return argument.startsWith(u'-') ? QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument)
                                             : QCoreApplication::translate("tarvo-cli", "status takes no argument %1").arg(argument);
        options.json = true;
    }
    return options;
}

int runStatus(const StatusOptions &options, std::chrono::milliseconds wait)
{
    const QString path = InstanceSocket::path(InstanceSocket::userRuntimeDirectory(), QStringLiteral("tarvo"));
    const QDeadlineTimer deadline(wait);
    const auto busy = [&] {
        return fail(busyExit, QCoreApplication::translate("tarvo-cli", "Tarvo is running but did not answer within %1 s (busy?)")
                                  .arg(double(wait.count()) / 1000.0));
    };
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(deadline.remainingTime())) {
        switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
            return fail(notRunningExit, QCoreApplication::translate("tarvo-cli", "Tarvo is not running (no %1)").arg(path));
        case QLocalSocket::ConnectionRefusedError:
            return fail(notRunningExit,
                        QCoreApplication::translate("tarvo-cli", "Tarvo is not running (%1 is left from a copy that was killed)").arg(path));
        case QLocalSocket::SocketTimeoutError:
            return busy();
        default:
            return fail(2, QCoreApplication::translate("tarvo-cli", "cannot reach Tarvo at %1: %2").arg(path, socket.errorString()));
        }
    }
    socket.write(InstanceSocket::statusRequest);
    while (!socket.canReadLine() && socket.bytesAvailable() <= maxAnswerSize) {
        if (socket.waitForReadyRead(deadline.remainingTime()))
            continue;
        if (socket.error() == QLocalSocket::SocketTimeoutError)
            return busy();
        // It ends the connection while a box at start-up waits for the user: busy, not broken.
        return fail(busyExit, QCoreApplication::translate("tarvo-cli", "Tarvo is running but ended the connection without an answer "
                                             "(a box waiting for an answer?)"));
    }
    const QByteArray line = socket.readLine(maxAnswerSize + 1).trimmed();
    const QJsonObject answer = QJsonDocument::fromJson(line).object();
    if (answer.value(QStringLiteral("version")).toInt() != statusVersion)
        return fail(2,
                    QCoreApplication::translate("tarvo-cli", "cannot read Tarvo's answer (not JSON of status version %1)").arg(statusVersion));
    const QByteArray shown = options.json ? line : answer.value(QStringLiteral("text")).toString().toLocal8Bit();
    std::printf("%s\n", shown.constData());
    return 0;
}
