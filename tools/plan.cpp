#include "plan.h"

#include "arguments.h"
#include "replay.h"

#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/oledate.h"
#include "meter/planner.h"
#include "meter/plantext.h"
#include "settings/appsettings.h"
#include "settings/filelocations.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

void printError(const QString &message)
{
    std::fprintf(stderr, "tarvo-cli: %s\n", message.toLocal8Bit().constData());
}

// "HH:MM[:SS]" today, or a whole local date-time "YYYY-MM-DDTHH:MM[:SS]".
QDateTime parseMoment(const QString &text, const QDateTime &now)
{
    for (const QString &format : {QStringLiteral("HH:mm"), QStringLiteral("HH:mm:ss")}) {
        const QTime time = QTime::fromString(text, format);
        if (time.isValid())
            return QDateTime(now.date(), time);
    }
    for (const QString &format : {QStringLiteral("yyyy-MM-ddTHH:mm"), QStringLiteral("yyyy-MM-ddTHH:mm:ss")}) {
        const QDateTime moment = QDateTime::fromString(text, format);
        if (moment.isValid())
            return moment;
    }
    return {};
}

} // namespace

std::variant<PlanOptions, QString> parsePlanOptions(const QStringList &arguments, const QDateTime &now)
{
    PlanOptions options;
    bool sized = false;
    TakenValue last;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool takesValue = argument == u"--speed" || argument == u"--ini" || argument == u"--at";
        if (takesValue) {
            if (const auto missing = valueMissing(arguments, i))
                return *missing;
            last = {argument, arguments[i + 1]};
        }
        if (argument == u"--speed") {
            options.speed = parseByteCount(arguments[++i]);
            if (!options.speed)
                return QCoreApplication::translate("tarvo-cli", "--speed needs bytes per second above 0 (such as 500000 or 2MB), not \"%1\"")
                    .arg(arguments[i]);
        } else if (argument == u"--ini") {
            options.settingsFile = arguments[++i];
        } else if (argument == u"--at") {
            options.at = parseMoment(arguments[++i], now);
            if (!options.at.isValid())
                return QCoreApplication::translate("tarvo-cli", "--at needs HH:MM today or YYYY-MM-DDTHH:MM, not \"%1\"").arg(arguments[i]);
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument);
        } else if (sized) {
            return QCoreApplication::translate("tarvo-cli", "more than one size: %1").arg(argument);
        } else {
            const auto size = parseByteCount(argument);
            if (!size)
                return QCoreApplication::translate("tarvo-cli", "the size needs a number of bytes above 0 with an optional unit "
                                      "(such as 3GB or 500MB), not \"%1\"")
                    .arg(argument);
            options.sizeBytes = *size;
            sized = true;
        }
    }
    if (!sized)
        return nothingGiven(QCoreApplication::translate("tarvo-cli", "no size given"), last);
    return options;
}

int runPlan(const PlanOptions &options, const QDateTime &now)
{
    AppSettings settings;
    FapState fap;
    QString path = options.settingsFile;
    if (path.isEmpty()) {
        const QString own = FileLocations::forThisProgram().settingsFolder + QStringLiteral("tarvo.ini");
        if (QFileInfo::exists(own))
            path = own;
    }
    if (!path.isEmpty()) {
        if (auto error = readReplaySettings(path, settings, fap)) {
            printError(*error);
            return planError;
        }
    }
    const QDateTime start = options.at.isValid() ? options.at : now;
    const double startDate = oleDate(start);
    // As at the program's start: the saved bucket drained for the time since it was saved, the
    // latch from the tick at that moment.
    FapMeter meter;
    meter.applySettings(settings.fap, fap.usedBytes);
    if (fap.lastShut != noLastUse) {
        // Before the save the level is not known: the catch-up would drain it the wrong way.
        if (startDate < fap.lastShut) {
            printError(QCoreApplication::translate("tarvo-cli", "--at %1 lies before the bucket was saved (%2)")
                           .arg(start.toString(Qt::ISODate), oleDateToDateTime(fap.lastShut).toString(Qt::ISODate)));
            return planError;
        }
        meter.catchUp(fap.lastShut, startDate);
    }
    const int32_t used = meter.usedBytes();
    const bool cutOff = latchAfterTick(false, used, limitInForce(settings.fap, startDate));
    const int64_t speed = options.speed.value_or(options.sizeBytes);

    const DownloadPlan plan = planDownload({settings.fap, used, cutOff, start, options.sizeBytes, speed});
    QStringList lines;
    const QString size = formatCount(double(options.sizeBytes));
    const QString from = start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString inBucket = used == 0 ? QStringLiteral("0") : formatCount(used);
    const QString throttle = formatCount(double(settings.fap.throttleLimit));
    lines << (options.speed ? QCoreApplication::translate(
                                  "tarvo-cli", "%1 bytes at %2 bytes / s, from %3 with %4 bytes in the bucket (throttle limit %5):")
                                  .arg(size, formatCount(double(speed)), from, inBucket, throttle)
                            : QCoreApplication::translate(
                                  "tarvo-cli", "%1 bytes all at once, from %2 with %3 bytes in the bucket (throttle limit %4):")
                                  .arg(size, from, inBucket, throttle));
    lines << describePlan(plan, start);
    std::fputs(qPrintable(lines.join(u'\n') + u'\n'), stdout);
    return plan.fitsFrom == 0 ? fitsNow : doesNotFitNow;
}
