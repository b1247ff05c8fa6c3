#include "meter/plantext.h"

#include "meter/formats.h"

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

QString inAndAt(const QDateTime &start, int64_t seconds, const QLocale &locale)
{
    return QStringLiteral("in %1, at %2").arg(formatDuration(seconds), moment(start, seconds, locale));
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
    QStringList lines;
    if (!plan.throttleAfter)
        lines << QStringLiteral("It will not be throttled.");
    else if (*plan.throttleAfter == 0)
        lines << QStringLiteral("The bucket is above the throttle limit already.");
    else
        lines << QStringLiteral("Throttled %1.").arg(inAndAt(start, *plan.throttleAfter, locale));

    if (!plan.cutOffAfter)
        lines << QStringLiteral("It will not be cut off.");
    else if (*plan.cutOffAfter == 0)
        lines << QStringLiteral("Cut off already: the download waits until the cut-off lifts.");
    else
        lines << QStringLiteral("Cut off %1.").arg(inAndAt(start, *plan.cutOffAfter, locale));

    if (plan.finishAfter)
        lines << QStringLiteral("Done %1.").arg(inAndAt(start, *plan.finishAfter, locale));
    else
        lines << QStringLiteral("Not done within 7 days.");
    if (plan.clearAfter)
        lines << QStringLiteral("Restriction \"none\" again %1.").arg(inAndAt(start, *plan.clearAfter, locale));

    if (!plan.fitsFrom)
        lines << QStringLiteral("No start within the next 7 days keeps it below the throttle limit.");
    else if (*plan.fitsFrom == 0)
        lines << QStringLiteral("It fits now: it stays below the throttle limit all the way.");
    else
        lines << QStringLiteral("It fits if started %1.").arg(inAndAt(start, *plan.fitsFrom, locale));
    return lines;
}
