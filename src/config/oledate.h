#pragma once

#include <QDateTime>

// Date-times as the settings file stores them: days since 30 December 1899 0:00 local time, the
// fraction being the time of day (OLE Automation dates).
namespace OleDate {

double fromDateTime(const QDateTime &dateTime);
// Invalid for a value that is not finite or lies outside the dates QDate can hold.
QDateTime toDateTime(double oleDate);
// The present local date-time.
double now();

} // namespace OleDate
