#pragma once

#include <QDateTime>

// Date-times as the meter and the settings file count them: days since 30 Dec 1899 0:00 of the
// local time, the fraction being the time of day.

// The OLE date of `moment` in its local time.
double oleDate(const QDateTime &moment);
// The local date-time of an OLE date; invalid for a value that is not finite or is out of range.
QDateTime oleDateToDateTime(double oleDate);
// Whole seconds between an OLE date and 1970-01-01 03:00 of the same clock, as an absolute
// difference truncated toward zero; only differences of two such counts mean anything.
qint64 dateTimeToSeconds(double oleDate);
