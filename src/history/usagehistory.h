#pragma once

#include "meter/fapmeter.h"
#include "meter/hostaddress.h"
#include "meter/providerfigure.h"

#include <cstdint>
#include <vector>

// How long one period of the usage history lasts.
enum class HistoryGranularity { Minute, Hour, Day };

// One period of the usage history. Times are UTC seconds since 1970; local time is for display
// only, so a clock or time-zone change never makes a period negative or twice.
struct UsagePeriod
{
    int64_t startUtc = 0;
    int64_t downloadBytes = 0;
    int64_t uploadBytes = 0;
    int64_t downloadPackets = 0;
    int64_t uploadPackets = 0;
    int32_t levelBytes = 0;          // the bucket at the period's end
    int32_t limitBytes = 0;          // the cut-off limit in force at the period's end
    int32_t throttleLimitBytes = 0;  // the throttle limit at the period's end
    Restriction worstRestriction = Restriction::None;
    int64_t droppedFrames = 0;
};

// The download of one LAN host over a span of periods.
struct HostUsage
{
    HostAddress address;
    int64_t downloadBytes = 0;
};

// What the history window and tarvo-cli read; the store implements it, tests give fakes.
class UsageHistoryReader
{
public:
    virtual ~UsageHistoryReader() = default;
    // The periods that start in [fromUtc, toUtc), oldest first.
    virtual std::vector<UsagePeriod> periods(HistoryGranularity granularity, int64_t fromUtc,
                                             int64_t toUtc) const = 0;
    // Per-host download totals over [fromUtc, toUtc), largest first.
    virtual std::vector<HostUsage> hosts(int64_t fromUtc, int64_t toUtc) const = 0;
    // Every setting of the bucket from the provider's figure, oldest first.
    virtual std::vector<BucketCorrection> corrections() const { return {}; }
};
