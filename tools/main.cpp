#include "help.h"
#include "history.h"
#include "plan.h"
#include "replay.h"
#include "setbucket.h"
#include "status.h"
#include "translations/languages.h"
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
    Languages::install(application);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2)
        return fail(QCoreApplication::translate("tarvo-cli", "usage: tarvo-cli replay|watch|history|plan|status|set-bucket ... (tarvo-cli --help tells more)"));
    if (const auto help = helpText(arguments.mid(1))) {
        std::fputs(help->toLocal8Bit().constData(), stdout);
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
    if (arguments[1] == u"set-bucket") {
        const auto setBucket = parseSetBucketOptions(arguments.mid(2));
        if (const auto *error = std::get_if<QString>(&setBucket))
            return fail(*error);
        return runSetBucket(std::get<SetBucketOptions>(setBucket));
    }
    if (arguments[1] != u"replay")
        return fail(QCoreApplication::translate("tarvo-cli", "unknown command %1 (known: replay, watch, history, plan, status, set-bucket)").arg(arguments[1]));

    const auto options = parseReplayOptions(arguments.mid(2));
    if (const auto *error = std::get_if<QString>(&options))
        return fail(*error);
    // The lines go out as they are made; after a fault the ones printed stand.
    if (const auto error = runReplay(std::get<ReplayOptions>(options), stdout))
        return fail(*error);
    return 0;
}
