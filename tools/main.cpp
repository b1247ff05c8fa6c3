#include "replay.h"
#include "watch.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "tarvo-cli: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

// tarvo-cli COMMAND ...: the program's logic without its windows. The first argument names what
// it does.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return fail(QStringLiteral("usage: tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... "
                                   "[--ignore ADDR]... [--no-192] CAPTURE.pcap | "
                                   "tarvo-cli watch IFACE [--ini FILE] [--seconds N]"));
    if (arguments[1] == u"watch") {
        const auto watch = parseWatchOptions(arguments.mid(2));
        if (const auto *error = std::get_if<QString>(&watch))
            return fail(*error);
        return runWatch(std::get<WatchOptions>(watch));
    }
    if (arguments[1] != u"replay")
        return fail(QStringLiteral("unknown command %1 (known: replay, watch)").arg(arguments[1]));

    const auto options = parseReplayOptions(arguments.mid(2));
    if (const auto *error = std::get_if<QString>(&options))
        return fail(*error);
    // The lines go out as they are made; after a fault the ones printed stand.
    if (const auto error = runReplay(std::get<ReplayOptions>(options), stdout))
        return fail(*error);
    return 0;
}
