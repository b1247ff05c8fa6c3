#include "status.h"

#include "arguments.h"
#include "instanceclient.h"

#include "meter/statusfigures.h"
#include "platform/instancesocket.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

std::variant<StatusOptions, QString> parseStatusOptions(const QStringList &arguments)
{
    StatusOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--socket") {
            if (const auto missing = valueMissing(arguments, i))
                return *missing;
            options.socket = arguments[++i];
        } else if (argument == u"--json") {
            options.json = true;
        } else {
            return argument.startsWith(u'-') ? QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument)
                                             : QCoreApplication::translate("tarvo-cli", "status takes no argument %1").arg(argument);
        }
    }
    return options;
}

int runStatus(const StatusOptions &options, std::chrono::milliseconds wait)
{
    const auto asked = askRunningTarvo(InstanceSocket::statusRequest, wait, options.socket);
    if (const int *status = std::get_if<int>(&asked))
        return *status;
    const QByteArray &line = std::get<QByteArray>(asked);
    const QJsonObject answer = QJsonDocument::fromJson(line).object();
    if (answer.value(QStringLiteral("version")).toInt() != statusVersion)
        return failWith(2, QCoreApplication::translate("tarvo-cli", "cannot read Tarvo's answer (not JSON of status version %1)")
                               .arg(statusVersion));
    const QByteArray shown = options.json ? line : answer.value(QStringLiteral("text")).toString().toLocal8Bit();
    std::printf("%s\n", shown.constData());
    return 0;
}
