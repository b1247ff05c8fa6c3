#include "setbucket.h"

#include "instanceclient.h"
#include "meter/formats.h"
#include "platform/instancesocket.h"

#include <QCoreApplication>

#include <cstdio>

std::variant<SetBucketOptions, QString> parseSetBucketOptions(const QStringList &arguments)
{
    bool level = false;
    QStringList figures;
    for (const QString &argument : arguments) {
        if (argument == u"--level")
            level = true;
        else if (argument.startsWith(u"--"))
            return QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument);
        else
            figures.append(argument);
    }
    if (figures.size() != 1)
        return QCoreApplication::translate("SetBucket", "set-bucket needs one figure: BYTES or N% (given: %1)")
            .arg(figures.isEmpty() ? QCoreApplication::translate("SetBucket", "none") : figures.join(u' '));
    const auto figure = parseProviderFigure(figures.first(), level);
    if (!figure)
        return level ? QCoreApplication::translate("SetBucket", "the level needs a number of bytes with an optional "
                                                                "unit (60MB, 1.5GB), not \"%1\"")
                           .arg(figures.first())
                     : QCoreApplication::translate("SetBucket", "the remaining allowance needs a number of bytes with "
                                                                "an optional unit (900MB) or a percentage (42%), not "
                                                                "\"%1\"")
                           .arg(figures.first());
    return SetBucketOptions{*figure};
}

int runSetBucket(const SetBucketOptions &options, std::chrono::milliseconds wait)
{
    const auto asked =
        askRunningTarvo(InstanceSocket::setBucketPrefix + setBucketArgument(options.figure) + '\n', wait);
    if (const int *status = std::get_if<int>(&asked))
        return *status;
    const QByteArray &line = std::get<QByteArray>(asked);
    if (line + '\n' == InstanceSocket::setBucketWaiting)
        return failWith(refusedExit, QCoreApplication::translate(
                                         "SetBucket", "Tarvo is not counting yet: the options wait for Ok"));
    if (line + '\n' == InstanceSocket::setBucketRefused)
        return failWith(refusedExit, QCoreApplication::translate(
                                         "SetBucket", "Tarvo refused the figure: it is beyond what the bucket holds"));
    const QList<QByteArray> levels = line.mid(InstanceSocket::setBucketDone.size()).split(' ');
    if (!line.startsWith(InstanceSocket::setBucketDone) || levels.size() != 2)
        return failWith(2, QCoreApplication::translate("SetBucket", "cannot read Tarvo's answer"));
    const QString text = QCoreApplication::translate("SetBucket", "Bucket set to %1 bytes (Tarvo had counted %2).")
                             .arg(formatCountOrZero(levels[1].toDouble()), formatCountOrZero(levels[0].toDouble()));
    std::printf("%s\n", text.toLocal8Bit().constData());
    return 0;
}
