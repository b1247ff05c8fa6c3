#pragma once

#include "meter/oledate.h"

#include <QDateTime>

// Date-times as the settings file stores them (oleDate in meter/oledate.h converts the other way).

// The present local date-time as days since 30 December 1899.
double oleNow();
// The local date-time of an OLE date; invalid for a value that is not finite or is out of range.
QDateTime oleDateToDateTime(double oleDate);
