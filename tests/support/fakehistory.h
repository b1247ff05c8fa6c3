#pragma once

#include "history/usagehistory.h"

#include <algorithm>
#include <map>
#include <vector>

// A usage history held in memory: what the tests put in, the reader returns, as a store would
// (periods oldest first, hosts largest first).
class FakeHistory : public UsageHistoryReader
{
public:
    // One host's download in the period that starts at startUtc.
    struct HostRecord
    {
        int64_t startUtc = 0;
        HostUsage usage;
    };

    std::vector<UsagePeriod> minutes;
    std::vector<UsagePeriod> hours;
    std::vector<UsagePeriod> days;
    std::vector<HostRecord> hostRecords; // oldest first

    std::vector<UsagePeriod> periods(HistoryGranularity granularity, int64_t fromUtc, int64_t toUtc) const override
    {
        const std::vector<UsagePeriod> &all = granularity == HistoryGranularity::Minute ? minutes
                                              : granularity == HistoryGranularity::Hour ? hours
                                                                                        : days;
        auto first = std::lower_bound(all.begin(), all.end(), fromUtc,
                                      [](const UsagePeriod &period, int64_t at) { return period.startUtc < at; });
        auto last = std::lower_bound(first, all.end(), toUtc,
                                     [](const UsagePeriod &period, int64_t at) { return period.startUtc < at; });
        return {first, last};
    }

    std::vector<HostUsage> hosts(int64_t fromUtc, int64_t toUtc) const override
    {
        std::map<uint32_t, int64_t> totals;
        auto first = std::lower_bound(hostRecords.begin(), hostRecords.end(), fromUtc,
                                      [](const HostRecord &record, int64_t at) { return record.startUtc < at; });
        for (auto record = first; record != hostRecords.end() && record->startUtc < toUtc; ++record)
            totals[record->usage.address] += record->usage.downloadBytes;
        std::vector<HostUsage> result;
        for (const auto &[address, bytes] : totals)
            result.push_back({address, bytes});
        std::stable_sort(result.begin(), result.end(),
                         [](const HostUsage &a, const HostUsage &b) { return a.downloadBytes > b.downloadBytes; });
        return result;
    }
};
