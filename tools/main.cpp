#include "history.h"
#include "plan.h"
#include "replay.h"
#include "status.h"
#include "translations/languages.h"
#include "watch.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// Kept in step with the manual page, packaging/tarvo-cli.1 (a test compares their options).
const char usage[] = QT_TRANSLATE_NOOP(
    "tarvo-cli",
    "usage: tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... [--no-192]\n"
    "                        [--mtu BYTES] CAPTURE.pcap\n"
    "       tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE]\n"
    "       tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts] [--json]\n"
    "       tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]\n"
    "       tarvo-cli status [--json]\n"
    "       tarvo-cli --help\n"
    "\n"
    "replay  runs a capture file through the classifier and the bucket, one CSV line per second\n"
    "        of capture time\n"
    "watch   does the same on a live adapter, one line a second, with the capture's own counts\n"
    "history prints the usage history, one CSV line per period with its local start\n"
    "plan    tells when a download of SIZE (3GB, 500MB, ...; 1 KB = 1024 bytes) would be throttled\n"
    "        and cut off, and the earliest start within 7 days at which it stays below the\n"
    "        throttle limit; the bucket is the settings' saved one, drained up to the start\n"
    "status  prints the running Tarvo's figures as one line, for status bars\n"
    "\n"
    "  --ini FILE      settings and bucket from a tarvo.ini (read only)\n"
    "  --used BYTES    the bucket level to start from, instead of the file's\n"
    "  --lan ADDR      an address that counts as this computer's (repeatable); IPv4, or IPv6\n"
    "                  with or without a prefix length (2001:db8:1::/64)\n"
    "  --ignore ADDR   an address whose traffic never counts (repeatable), as for --lan\n"
    "  --no-192        do not count every 192.168.*.* address as the LAN's\n"
    "  --mtu BYTES     the captured adapter's MTU (default 1500): a longer TCP frame was merged\n"
    "                  on receipt and counts the headers of each segment; 0 counts as captured\n"
    "  --seconds N     stop watching after N seconds (default: at SIGINT or SIGTERM)\n"
    "  --history FILE  record each minute into this usage history\n"
    "  --db FILE       the usage history to read (default: tarvo-history.sqlite beside tarvo.ini)\n"
    "  --by SIZE       minute, hour or day periods (default: day)\n"
    "  --from DATE     the first local date or time shown (YYYY-MM-DD or YYYY-MM-DDTHH:MM)\n"
    "  --to DATE       the end: a local time, or a date whose day is included\n"
    "  --hosts         the download of each LAN host over the periods instead\n"
    "  --speed BYTES_PER_S  the download's speed (units as for SIZE); default: all at once,\n"
    "                  the worst case, so a start that fits then fits at any speed\n"
    "  --at TIME       plan from HH:MM today or YYYY-MM-DDTHH:MM instead of now\n"
    "  --json          history: one JSON object a line instead of CSV; status: one line of JSON\n"
    "\n"
    "plan: --ini defaults to the program's own tarvo.ini; exit status 0 when the download fits\n"
    "now, 1 when it does not (the text says when it would).\n"
    "Errors go to standard error as one line, with exit status 2. status ends with 3 when no\n"
    "Tarvo is running and with 4 when the running one does not answer within 2 seconds.\n");

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
    Languages::install(application);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return fail(QCoreApplication::translate("tarvo-cli", "usage: tarvo-cli replay|watch|history|plan|status ... (tarvo-cli --help tells more)"));
    if (arguments[1] == u"--help" || arguments[1] == u"-h") {
        std::fputs(QCoreApplication::translate("tarvo-cli", usage).toLocal8Bit().constData(), stdout);
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
    if (arguments[1] == u"plan") {
        const QDateTime now = QDateTime::currentDateTime();
        const auto plan = parsePlanOptions(arguments.mid(2), now);
        if (const auto *error = std::get_if<QString>(&plan))
            return fail(*error);
        return runPlan(std::get<PlanOptions>(plan), now);
    }
    if (arguments[1] == u"status") {
        const auto status = parseStatusOptions(arguments.mid(2));
        if (const auto *error = std::get_if<QString>(&status))
            return fail(*error);
        return runStatus(std::get<StatusOptions>(status));
    }
    if (arguments[1] != u"replay")
        return fail(QCoreApplication::translate("tarvo-cli", "unknown command %1 (known: replay, watch, history, plan, status)").arg(arguments[1]));

    const auto options = parseReplayOptions(arguments.mid(2));
    if (const auto *error = std::get_if<QString>(&options))
        return fail(*error);
    // The lines go out as they are made; after a fault the ones printed stand.
    if (const auto error = runReplay(std::get<ReplayOptions>(options), stdout))
        return fail(*error);
    return 0;
}
