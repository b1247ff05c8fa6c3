#pragma once

#include "history/usagehistory.h"

#include <cstdint>
#include <optional>
#include <vector>

// One minute of the history as the store takes it.
struct FinishedMinute
{
    UsagePeriod period;
    std::vector<HostUsage> hosts; // each host once, in no particular order
};

// Sums the one-second ticks into minutes of UTC time. A tick counts in the minute of its own
// time; when that minute differs from the open one (the next minute, or any other after the
// clock was set forward or back), the open minute is finished and returned. So a minute is
// never negative, and a minute that comes round again after the clock was set back is finished
// a second time: the store merges it into the row it already has, never a second row.
class MinuteAccumulator
{
public:
    // One tick's figures (its start ignored; its restriction the one at the tick) and the bytes
    // of the hosts in it.
    std::optional<FinishedMinute> add(int64_t nowUtc, const UsagePeriod &tick, const std::vector<HostUsage> &hosts = {});
    // The open minute, unfinished, at the end of a run; nothing when no tick came.
    std::optional<FinishedMinute> finish();

private:
    std::optional<FinishedMinute> m_open;
};

// The UTC start of the minute, the hour and the local day (at the zone of the process now) that
// hold `utc`; a local day lasts 23 or 25 hours across a daylight-saving change.
int64_t minuteStart(int64_t utc);
int64_t hourStart(int64_t utc);
int64_t localDayStart(int64_t utc);
