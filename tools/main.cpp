#include "history.h"
#include "replay.h"
#include "watch.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// Kept in step with the manual page, packaging/tarvo-cli.1 (a test compares their options).
const char usage[] =
    "usage: tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... [--no-192] CAPTURE.pcap\n"
    "       tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE]\n"
    "       tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts] [--json]\n"
    "       tarvo-cli --help\n"
    "\n"
    "replay  runs a capture file through the classifier and the bucket, one CSV line per second\n"
    "        of capture time\n"
    "watch   does the same on a live adapter, one line a second, with the capture's own counts\n"
    "history prints the usage history, one CSV line per period with its local start\n"
    "\n"
    "  --ini FILE      settings and bucket from a tarvo.ini (read only)\n"
    "  --used BYTES    the bucket level to start from, instead of the file's\n"
    "  --lan ADDR      an address that counts as this computer's (repeatable)\n"
    "  --ignore ADDR   an address whose traffic never counts (repeatable)\n"
    "  --no-192        do not count every 192.168.*.* address as the LAN's\n"
    "  --seconds N     stop watching after N seconds (default: at SIGINT or SIGTERM)\n"
    "  --history FILE  record each minute into this usage history\n"
    "  --db FILE       the usage history to read (default: tarvo-history.sqlite beside tarvo.ini)\n"
    "  --by SIZE       minute, hour or day periods (default: day)\n"
    "  --from DATE     the first local date or time shown (YYYY-MM-DD or YYYY-MM-DDTHH:MM)\n"
    "  --to DATE       the end: a local time, or a date whose day is included\n"
    "  --hosts         the download of each LAN host over the periods instead\n"
    "  --json          one JSON object a line instead of CSV\n"
    "\n"
    "Errors go to standard error as one line, with exit status 2.\n";

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
        return fail(QStringLiteral("usage: tarvo-cli replay|watch|history ... (tarvo-cli --help tells more)"));
    if (arguments[1] == u"--help" || arguments[1] == u"-h") {
        std::fputs(usage, stdout);
        return 0;
    }
    if (arguments[1] == u"watch") {
        const auto watch = parseWatchOptions(arguments.mid(2));
        if (const auto *error = std::get_if<QString>(&watch))
            return fail(*error);
        return runWatch(std::get<WatchOptions>(watch));
    }
    if (arguments[1] == u"history") {
        const auto history = parseHistoryOptions(arguments.mid(2));
        if (const auto *error = std::get_if<QString>(&history))
            return fail(*error);
        return runHistory(std::get<HistoryOptions>(history), stdout);
    }
    if (arguments[1] != u"replay")
        return fail(QStringLiteral("unknown command %1 (known: replay, watch, history)").arg(arguments[1]));

    const auto options = parseReplayOptions(arguments.mid(2));
    if (const auto *error = std::get_if<QString>(&options))
        return fail(*error);
    // The lines go out as they are made; after a fault the ones printed stand.
    if (const auto error = runReplay(std::get<ReplayOptions>(options), stdout))
        return fail(*error);
    return 0;
}
