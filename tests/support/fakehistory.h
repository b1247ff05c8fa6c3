#pragma once

#include "history/usagehistory.h"

#include <QDateTime>

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
    std::vector<BucketCorrection> bucketCorrections; // oldest first

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
        std::map<HostAddress, int64_t> totals;
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

    std::vector<BucketCorrection> corrections() const override { return bucketCorrections; }

    // A history as a store holds it after `days` days of use up to `end`: minutes for the last 7
    // days, hours and local days for all of them, `hostCount` LAN hosts sharing each hour. The
    // bucket fills in the evening and drains overnight; the limits rise in the small hours.
    static FakeHistory filled(const QDateTime &end, int days, int hostCount = 3)
    {
        constexpr int64_t minute = 60;
        constexpr int64_t hour = 3600;
        constexpr int64_t megabyte = 1048576;
        FakeHistory history;
        const int64_t last = end.toSecsSinceEpoch() / minute * minute;
        const auto shaped = [](int64_t t, int32_t peak) {
            const double phase = double((t + 2 * hour) % (24 * hour)) / double(24 * hour);
            return int32_t((phase < 0.8 ? phase / 0.8 : (1 - phase) / 0.2) * peak);
        };
        const auto withLimits = [](UsagePeriod period, int64_t t) {
            const bool smallHours = t / hour % 24 < 6;
            period.throttleLimitBytes = int32_t((smallHours ? 170 : 150) * megabyte);
            period.limitBytes = int32_t((smallHours ? 220 : 200) * megabyte);
            return period;
        };
        for (int64_t t = last - std::min(days, 7) * 24 * hour; t < last; t += minute) {
            UsagePeriod period{.startUtc = t, .downloadBytes = t % 7919 * 41, .uploadBytes = t % 541 * 31};
            period.levelBytes = shaped(t, int32_t(180 * megabyte));
            history.minutes.push_back(withLimits(period, t));
        }
        std::map<QDate, UsagePeriod> byDay;
        for (int64_t t = last / hour * hour - int64_t(days) * 24 * hour; t < last; t += hour) {
            const int64_t hourOfDay = t / hour % 24;
            UsagePeriod period{.startUtc = t, .downloadBytes = (hourOfDay + 1) * 9 * megabyte + t % 1009,
                               .uploadBytes = (hourOfDay + 1) * megabyte + t % 211};
            period.levelBytes = shaped(t, int32_t(180 * megabyte));
            history.hours.push_back(withLimits(period, t));
            for (int host = 0; host < hostCount; ++host) {
                // Halves: the first host takes half, the next a quarter, ...; the last the rest.
                const int64_t share = host + 1 < hostCount ? period.downloadBytes >> (host + 1)
                                                           : period.downloadBytes >> host;
                history.hostRecords.push_back({t, {HostAddress::fromIpv4(0xc0a80000u + uint32_t(host * 13 + 10)), share}});
            }
            const QDate date = QDateTime::fromSecsSinceEpoch(t).date();
            UsagePeriod &day = byDay[date];
            day.startUtc = date.startOfDay().toSecsSinceEpoch();
            day.downloadBytes += period.downloadBytes;
            day.uploadBytes += period.uploadBytes;
            day = withLimits(day, t);
            day.levelBytes = period.levelBytes;
        }
        for (const auto &[date, day] : byDay)
            history.days.push_back(day);
        return history;
    }
};
