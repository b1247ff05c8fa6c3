#pragma once

#include "history/usagehistory.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

// One bar of the history window's charts: a local hour or a local day, in UTC seconds, with the
// traffic of the periods the reader returned for it.
struct UsageBar
{
    QString label;
    int64_t startUtc = 0;
    int64_t endUtc = 0;
    int64_t downloadBytes = 0;
    int64_t uploadBytes = 0;
    bool recorded = false;     // some period fell into it
    bool repeatedHour = false; // the clocks went back: this local hour comes twice
};

// The local hours of `day`: 24, or 23 and 25 on the days daylight saving time starts and ends.
// Each hour's bar holds the hourly periods that start in it. Labels are the local hour ("07");
// an hour that comes twice carries its offset from UTC on a second line, in the axis's rich text
// ("02<br>+2", then "02<br>+1").
std::vector<UsageBar> hourBars(const UsageHistoryReader &reader, QDate day);

// The days of the month of `month`, labelled "1" to "31". A daily period counts for the local
// date of its middle, so the store's days count on the right date whether they start at local or
// at UTC midnight.
std::vector<UsageBar> dayBars(const UsageHistoryReader &reader, QDate month);

// The UTC span of local whole days [first, last].
struct UtcSpan
{
    int64_t fromUtc = 0;
    int64_t toUtc = 0;
};
UtcSpan localDays(QDate first, QDate last);

// One row of the host table.
struct HostShare
{
    QString address;   // dotted, as the options list addresses
    int64_t downloadBytes = 0;
    double percent = 0; // of the period's download
};

// The hosts' rows, largest first as the reader gives them. The share is of the period's download,
// or of the hosts' sum where that is larger (a host's minutes the period's rollup lacks), so no
// share passes 100 %.
std::vector<HostShare> hostShares(const std::vector<HostUsage> &hosts, int64_t periodDownloadBytes);

// Where a bucket level chart's time axis starts, for the span [nowUtc - spanSeconds, nowUtc]: at
// the first recorded period when that came later, so a short record is drawn across the chart,
// yet never less than a 24th of the span before now.
int64_t levelAxisStartUtc(int64_t nowUtc, int64_t spanSeconds, int64_t firstRecordedUtc);
