#include "status.h"

#include "instanceclient.h"
#include "meter/statusfigures.h"
#include "platform/instancesocket.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

std::variant<StatusOptions, QString> parseStatusOptions(const QStringList &arguments)
{
    StatusOptions options;
    for (const QString &argument : arguments) {
        if (argument != u"--json")
            return argument.startsWith(u'-') ? QStringLiteral("unknown option %1").arg(argument)
                                             : QStringLiteral("status takes no argument %1").arg(argument);
        options.json = true;
    }
    return options;
}

int runStatus(const StatusOptions &options, std::chrono::milliseconds wait)
{
    const auto asked = askRunningTarvo(InstanceSocket::statusRequest, wait);
    if (const int *status = std::get_if<int>(&asked))
        return *status;
    const QByteArray &line = std::get<QByteArray>(asked);
    const QJsonObject answer = QJsonDocument::fromJson(line).object();
    if (answer.value(QStringLiteral("version")).toInt() != statusVersion)
        return failWith(2,
                        QStringLiteral("cannot read Tarvo's answer (not JSON of status version %1)").arg(statusVersion));
    const QByteArray shown = options.json ? line : answer.value(QStringLiteral("text")).toString().toLocal8Bit();
    std::printf("%s\n", shown.constData());
    return 0;
}
