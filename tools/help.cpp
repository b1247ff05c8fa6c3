#include "help.h"

#include <QCoreApplication>

#include <algorithm>
#include <initializer_list>

namespace {

// Kept in step with the manual page, packaging/tarvo-cli.1, and the completion,
// packaging/tarvo-cli.bash-completion (tests compare their options).
struct Command
{
    const char *name;
    const char *synopsis; // continued lines indented for "usage: " before them
    const char *text;     // continued lines indented for the name's column before them
    const char *notes;    // after the options; may be empty
};

const Command commands[] = {
    {"replay",
     QT_TRANSLATE_NOOP("tarvo-cli", "tarvo-cli replay [--ini FILE] [--used BYTES] [--lan ADDR]... [--ignore ADDR]... "
                                    "[--no-192]\n                        [--mtu BYTES] CAPTURE.pcap"),
     QT_TRANSLATE_NOOP("tarvo-cli", "runs a capture file through the classifier and the bucket, one CSV line per "
                                    "second\n        of capture time"),
     ""},
    {"watch", QT_TRANSLATE_NOOP("tarvo-cli", "tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE] [--every N]\n"
                                            "                       [--status-socket PATH] [--metrics-file PATH] [--alerts]"),
     QT_TRANSLATE_NOOP("tarvo-cli", "runs the classifier and the bucket on a live adapter, one line a second, with\n"
                                   "        the capture's own counts"),
     ""},
    {"history",
     QT_TRANSLATE_NOOP("tarvo-cli", "tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] "
                                    "[--hosts] [--json]"),
     QT_TRANSLATE_NOOP("tarvo-cli", "prints the usage history, one CSV line per period with its local start"), ""},
    {"plan", QT_TRANSLATE_NOOP("tarvo-cli", "tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]"),
     QT_TRANSLATE_NOOP("tarvo-cli",
                       "tells when a download of SIZE (3GB, 500MB, ...; 1 KB = 1024 bytes) would be throttled\n"
                       "        and cut off, and the earliest start within 7 days at which it stays below the\n"
                       "        throttle limit; the bucket is the settings' saved one, drained up to the start"),
     QT_TRANSLATE_NOOP("tarvo-cli", "plan: --ini defaults to the program's own tarvo.ini; exit status 0 when the "
                                    "download fits\nnow, 1 when it does not (the text says when it would).\n")},
    {"status", QT_TRANSLATE_NOOP("tarvo-cli", "tarvo-cli status [--json] [--socket PATH]"),
     QT_TRANSLATE_NOOP("tarvo-cli", "prints the running Tarvo's figures as one line, for status bars"),
     QT_TRANSLATE_NOOP("tarvo-cli", "status ends with 3 when no Tarvo is running and with 4 when the running one "
                                   "does not answer\nwithin 2 seconds.\n")},
    {"set-bucket", QT_TRANSLATE_NOOP("tarvo-cli", "tarvo-cli set-bucket BYTES|N% [--level]"),
     QT_TRANSLATE_NOOP("tarvo-cli",
                       "sets the running Tarvo's bucket from the provider's remaining allowance (bytes,\n"
                       "        units as for SIZE, or N% of the cut-off limit in force), recorded in the usage history"),
     QT_TRANSLATE_NOOP("tarvo-cli", "set-bucket ends with 3 and 4 as status does, and with 5 when Tarvo refuses the "
                                   "figure\n(no Ok yet, or beyond the bucket).\n")},
};

struct Option
{
    const char *text;
    std::initializer_list<const char *> commands; // those that take it
};

const Option options[] = {
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --ini FILE      settings and bucket from a tarvo.ini (read only)\n"),
     {"replay", "watch", "plan"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --used BYTES    the bucket level to start from, instead of the file's\n"),
     {"replay"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --lan ADDR      an address that counts as this computer's (repeatable); IPv4, or IPv6\n"
                       "                  with or without a prefix length (2001:db8:1::/64)\n"),
     {"replay"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --ignore ADDR   an address whose traffic never counts (repeatable), as for --lan\n"),
     {"replay"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --no-192        do not count every 192.168.*.* address as the LAN's\n"),
     {"replay"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --mtu BYTES     the captured adapter's MTU (default 1500): a longer TCP frame was merged\n"
                       "                  on receipt and counts the headers of each segment; 0 counts as captured\n"),
     {"replay"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --seconds N     stop watching after N seconds (default: at SIGINT or SIGTERM)\n"),
     {"watch"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --history FILE  record each minute into this usage history\n"), {"watch"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --every N       a line each N seconds (default 1), its down, up and packets the sums\n"
                       "                  of those seconds; the metrics file is written with each line\n"),
     {"watch"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --status-socket PATH  answer tarvo-cli status --socket PATH there, as Tarvo does\n"),
     {"watch"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --metrics-file PATH  keep the figures there in the Prometheus text format, replaced whole\n"
                       "                  (for node_exporter's textfile collector)\n"),
     {"watch"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --alerts        run the alert commands of the settings' [Alerts] at each alert\n"),
     {"watch"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --db FILE       the usage history to read (default: tarvo-history.sqlite "
                                    "beside tarvo.ini)\n"),
     {"history"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --by SIZE       minute, hour or day periods (default: day)\n"), {"history"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --from DATE     the first local date or time shown (YYYY-MM-DD or YYYY-MM-DDTHH:MM)\n"),
     {"history"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --to DATE       the end: a local time, or a date whose day is included\n"),
     {"history"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --hosts         the download of each LAN host over the periods instead\n"),
     {"history"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --speed BYTES_PER_S  the download's speed (units as for SIZE); default: all at once,\n"
                       "                  the worst case, so a start that fits then fits at any speed\n"),
     {"plan"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --at TIME       plan from HH:MM today or YYYY-MM-DDTHH:MM instead of now\n"),
     {"plan"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --json          history: one JSON object a line instead of CSV; status: one line of JSON\n"),
     {"history", "status"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --socket PATH   status: ask a tarvo-cli watch --status-socket PATH instead of Tarvo\n"),
     {"status"}},
    {QT_TRANSLATE_NOOP("tarvo-cli",
                       "  --level         the figure is the bucket level in bytes, not the allowance left\n"),
     {"set-bucket"}},
    {QT_TRANSLATE_NOOP("tarvo-cli", "  --help          this help; after a command, that command's help alone\n"), {}},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("tarvo-cli", text);
}

QString describe(const Command &command)
{
    return QString::fromLatin1(command.name).leftJustified(7) + u' ' + translated(command.text) + u'\n';
}

QString errorsNote()
{
    return QCoreApplication::translate("tarvo-cli", "Errors go to standard error as one line, with exit status 2.\n");
}

QString overview()
{
    QString text;
    for (const Command &command : commands)
        text += (text.isEmpty() ? QStringLiteral("usage: ") : QStringLiteral("       ")) + translated(command.synopsis)
                + u'\n';
    text += QStringLiteral("       tarvo-cli --help\n       tarvo-cli COMMAND --help\n\n");
    for (const Command &command : commands)
        text += describe(command);
    text += u'\n';
    for (const Option &option : options)
        text += translated(option.text);
    text += u'\n';
    for (const Command &command : commands) {
        if (*command.notes)
            text += translated(command.notes);
    }
    return text + errorsNote();
}

QString commandHelp(const Command &command)
{
    QString text = QStringLiteral("usage: ") + translated(command.synopsis) + QStringLiteral("\n\n") + describe(command)
                   + u'\n';
    for (const Option &option : options) {
        const auto takes = [&](const char *name) { return qstrcmp(name, command.name) == 0; };
        if (option.commands.size() == 0 || std::any_of(option.commands.begin(), option.commands.end(), takes))
            text += translated(option.text);
    }
    return text + u'\n' + (*command.notes ? translated(command.notes) : QString()) + errorsNote();
}

bool asksHelp(const QString &argument)
{
    return argument == u"--help" || argument == u"-h";
}

} // namespace

std::optional<QString> helpText(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return std::nullopt;
    if (asksHelp(arguments.first()))
        return overview();
    if (!std::any_of(arguments.begin() + 1, arguments.end(), asksHelp))
        return std::nullopt;
    for (const Command &command : commands) {
        if (arguments.first() == QLatin1String(command.name))
            return commandHelp(command);
    }
    return std::nullopt;
}
