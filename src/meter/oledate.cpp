#include "meter/oledate.h"

double oleDate(const QDateTime &moment)
{
    static const qint64 epochDay = QDate(1899, 12, 30).toJulianDay();
    const QDateTime local = moment.toLocalTime();
    return double(local.date().toJulianDay() - epochDay) + local.time().msecsSinceStartOfDay() / 86400000.0;
}
