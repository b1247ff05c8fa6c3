#pragma once

#include "history/usagehistory.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <variant>

// `tarvo-cli history [--db FILE] [--by minute|hour|day] [--from DATE] [--to DATE] [--hosts]
// [--json]`, as read from its arguments. DATE is local: YYYY-MM-DD or YYYY-MM-DDTHH:MM; a --to
// without a time includes that day.
struct HistoryOptions
{
    QString databaseFile; // --db; empty: "tarvo-history.sqlite" beside "tarvo.ini"
    HistoryGranularity granularity = HistoryGranularity::Day;
    int64_t fromUtc = INT64_MIN;
    int64_t toUtc = INT64_MAX;
    bool hosts = false;
    bool json = false;
};

std::variant<HistoryOptions, QString> parseHistoryOptions(const QStringList &arguments);

// Prints the periods (or the hosts' totals) of the store to `out`: CSV with a header, or one JSON
// object a line; period starts in local time with their UTC offset. Returns the exit status; a
// failure has printed its one line.
int runHistory(const HistoryOptions &options, std::FILE *out);
