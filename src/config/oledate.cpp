#include "config/oledate.h"

#include <cmath>

namespace OleDate {

namespace {
constexpr double millisecondsPerDay = 86400000.0;
const QDate epoch(1899, 12, 30);
} // namespace

double fromDateTime(const QDateTime &dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    const double days = double(epoch.daysTo(local.date()));
    const double fraction = local.time().msecsSinceStartOfDay() / millisecondsPerDay;
    // Before the epoch the whole days count backwards but the time of day still counts forwards.
    return days >= 0 ? days + fraction : days - fraction;
}

QDateTime toDateTime(double oleDate)
{
    // QDate holds far more than this; the bound keeps the conversion to whole days exact.
    if (!std::isfinite(oleDate) || std::abs(oleDate) > 1e9)
        return {};
    const double days = std::trunc(oleDate);
    auto dayNumber = qint64(days);
    auto milliseconds = int(std::lround(std::abs(oleDate - days) * millisecondsPerDay));
    if (milliseconds >= int(millisecondsPerDay)) { // rounded up to the next midnight
        milliseconds = 0;
        ++dayNumber;
    }
    return QDateTime(epoch.addDays(dayNumber), QTime::fromMSecsSinceStartOfDay(milliseconds));
}

double now()
{
    return fromDateTime(QDateTime::currentDateTime());
}

} // namespace OleDate
