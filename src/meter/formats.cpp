#include "meter/formats.h"

#include <cmath>
#include <cstdlib>

QString formatCount(double value, const QLocale &locale)
{
    const double rounded = std::round(value); // halves away from zero
    if (rounded == 0.0 || !std::isfinite(rounded))
        return {};
    const QString digits = QString::number(std::fabs(rounded), 'f', 0);
    const QString separator = locale.groupSeparator();
    QString text;
    text.reserve(digits.size() + digits.size() / 3 * separator.size() + 1);
    if (rounded < 0)
        text += u'-';
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return text;
}

QString formatCountOrZero(double value, const QLocale &locale)
{
    const QString text = formatCount(value, locale);
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString formatDuration(std::optional<int64_t> seconds)
{
    if (!seconds)
        return QStringLiteral("-");
    const auto twoDigits = [](uint64_t part) { return QStringLiteral("%1").arg(qulonglong(part), 2, 10, QChar(u'0')); };
    // The readouts are never negative; a negative count still reads as one, with its sign.
    const uint64_t magnitude = *seconds < 0 ? 0 - uint64_t(*seconds) : uint64_t(*seconds);
    const uint64_t hours = magnitude / 3600;
    return (*seconds < 0 ? QStringLiteral("-") : QString()) + twoDigits(hours) + u':'
           + twoDigits(magnitude % 3600 / 60) + u':' + twoDigits(magnitude % 60);
}
