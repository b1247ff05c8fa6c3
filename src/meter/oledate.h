#pragma once

#include <QDateTime>

// A moment as the date-times of the meter and the settings file count it: days since
// 30 Dec 1899 0:00 of its local time, the fraction being the time of day.
double oleDate(const QDateTime &moment);
