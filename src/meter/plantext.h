#pragma once

#include "meter/planner.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// A size as the user types it: a number with an optional unit, "B", "KB", "MB", "GB" or "TB"
// (1 KB = 1024 bytes, as everywhere in the program; case and a space before the unit do not
// matter; "1.5GB" is allowed). Empty for anything else, for 0 and for more than a petabyte.
std::optional<int64_t> parseByteCount(const QString &text);

// The plan in words, one sentence a line: when the throttle and the cut-off come, when the
// download is done and the restrictions are over, and when it could start instead. Durations
// as the monitor shows them, moments in local time.
QStringList describePlan(const DownloadPlan &plan, const QDateTime &start, const QLocale &locale = QLocale());
