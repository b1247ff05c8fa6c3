#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

// A count as the monitor shows it: rounded half away from zero, grouped in threes with the
// locale's thousands separator, a leading "-" when negative, and the empty text when it rounds
// to 0.
QString formatCount(double value, const QLocale &locale = QLocale());
// The same, but "0" where a readout would stay empty: for sentences and lines that name a count.
QString formatCountOrZero(double value, const QLocale &locale = QLocale());

// Whole seconds as hours:minutes:seconds, hours without bound ("123:05:09"); "-" when there is
// no estimate.
QString formatDuration(std::optional<int64_t> seconds);
