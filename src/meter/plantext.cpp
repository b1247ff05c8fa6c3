#include "meter/plantext.h"

#include "meter/formats.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>

namespace {

constexpr double kLargest = 1125899906842624.0; // 1 PB

// The moment `seconds` after the start: the time of day, with the day's name when it is not the
// start's day.
QString moment(const QDateTime &start, int64_t seconds, const QLocale &locale)
{
    const QDateTime when = start.addSecs(seconds);
    const QString time = locale.toString(when.time(), QStringLiteral("HH:mm:ss"));
    if (when.date() == start.date())
        return time;
    return locale.toString(when.date(), QStringLiteral("ddd d MMM")) + u' ' + time;
}

// Hours past a day read badly ("35:18:56"): a day or more says its days first.
QString span(int64_t seconds)
{
    const int64_t days = seconds / 86400;
    if (days == 0)
        return formatDuration(seconds);
    const QString text = days == 1 ? QCoreApplication::translate("PlanText", "%1 day %2")
                                   : QCoreApplication::translate("PlanText", "%1 days %2");
    return text.arg(days).arg(formatDuration(seconds % 86400));
}

QString inAndAt(const QDateTime &start, int64_t seconds, const QLocale &locale)
{
    return QCoreApplication::translate("PlanText", "in %1, at %2").arg(span(seconds), moment(start, seconds, locale));
}

} // namespace

std::optional<int64_t> parseByteCount(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*([kmgt]?b?)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString unit = match.captured(2).toLower();
    const int power = unit.isEmpty() || unit == u"b" ? 0 : int(QStringLiteral("kmgt").indexOf(unit[0])) + 1;
    const double bytes = std::floor(match.captured(1).toDouble() * std::pow(1024.0, power));
    if (!(bytes >= 1.0) || bytes > kLargest)
        return std::nullopt;
    return int64_t(bytes);
}

QStringList describePlan(const DownloadPlan &plan, const QDateTime &start, const QLocale &locale)
{
    // One moment of the plan: never (within the time looked at), at the start, or later.
    const auto line = [&](std::optional<int64_t> after, const QString &never, const QString &now, const QString &later) {
        if (!after)
            return never;
        return *after == 0 ? now : later.arg(inAndAt(start, *after, locale));
    };
    QStringList lines{
        line(plan.throttleAfter, QCoreApplication::translate("PlanText", "It will not be throttled."),
             QCoreApplication::translate("PlanText", "The bucket is above the throttle limit already."), QCoreApplication::translate("PlanText", "Throttled %1.")),
        line(plan.cutOffAfter, QCoreApplication::translate("PlanText", "It will not be cut off."),
             QCoreApplication::translate("PlanText", "Cut off already: the download waits until the cut-off lifts."), QCoreApplication::translate("PlanText", "Cut off %1.")),
        line(plan.finishAfter, QCoreApplication::translate("PlanText", "Not done within 7 days."), QString(), QCoreApplication::translate("PlanText", "Done %1.")),
    };
    if (plan.clearAfter)
        lines << QCoreApplication::translate("PlanText", "Restriction \"none\" again %1.").arg(inAndAt(start, *plan.clearAfter, locale));
    lines << line(plan.fitsFrom, QCoreApplication::translate("PlanText", "No start within the next 7 days sees it done below the throttle limit."),
                  QCoreApplication::translate("PlanText", "It fits now: it stays below the throttle limit all the way."),
                  QCoreApplication::translate("PlanText", "It fits if started %1."));
    return lines;
}
