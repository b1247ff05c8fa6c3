#include "meter/oledate.h"

#include <cmath>

double oleDate(const QDateTime &moment)
{
    static const qint64 epochDay = QDate(1899, 12, 30).toJulianDay();
    const QDateTime local = moment.toLocalTime();
    return double(local.date().toJulianDay() - epochDay) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime oleDateToDateTime(double oleDate)
{
    constexpr int millisecondsPerDay = 86400000;
    // Far beyond any date the program meets, and small enough for the whole days to stay exact.
    if (!std::isfinite(oleDate) || std::abs(oleDate) > 1e9)
        return {};
    const double days = std::floor(oleDate);
    auto dayNumber = qint64(days);
    auto milliseconds = int(std::lround((oleDate - days) * millisecondsPerDay));
    if (milliseconds >= millisecondsPerDay) { // rounded up to the next midnight
        milliseconds = 0;
        ++dayNumber;
    }
    return QDateTime(QDate(1899, 12, 30).addDays(dayNumber), QTime::fromMSecsSinceStartOfDay(milliseconds));
}

qint64 dateTimeToSeconds(double oleDate)
{
    constexpr double reference = 25569.125; // 1970-01-01 03:00
    return qint64(std::abs(oleDate - reference) * 86400.0);
}
