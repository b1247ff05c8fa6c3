#pragma once

#include "history/historystore.h"

#include <QString>

#include <cstdint>
#include <vector>

// Stores of the usage history made by tests and benchmarks.

// A minute starting at `startUtc` with `download` bytes (a tenth as many up), the bucket at
// `level`, and the download split between the LAN hosts given.
inline FinishedMinute sampleMinute(int64_t startUtc, int64_t download, int32_t level = 0,
                                   const std::vector<uint32_t> &hosts = {})
{
    FinishedMinute minute;
    minute.period.startUtc = startUtc;
    minute.period.downloadBytes = download;
    minute.period.uploadBytes = download / 10;
    minute.period.downloadPackets = download / 1000;
    minute.period.uploadPackets = download / 10000;
    minute.period.levelBytes = level;
    minute.period.limitBytes = 96888422;
    minute.period.throttleLimitBytes = 64592281;
    for (size_t i = 0; i < hosts.size(); ++i)
        minute.hosts.push_back({HostAddress::fromIpv4(hosts[i]), download / int64_t(hosts.size()) + (i == 0 ? download % int64_t(hosts.size()) : 0)});
    return minute;
}

// Fills the store at `path` with every minute of `days` days from `startUtc`, each with traffic
// of `hosts` LAN hosts (192.168.1.1 on), written an hour per transaction. False when a write
// failed.
inline bool fillHistory(const QString &path, int64_t startUtc, int days, int hosts = 3)
{
    HistoryStore store(path);
    std::vector<uint32_t> addresses;
    for (int i = 0; i < hosts; ++i)
        addresses.push_back(0xC0A80101u + uint32_t(i));
    std::vector<FinishedMinute> hour;
    for (int64_t minute = 0; minute < int64_t(days) * 1440; ++minute) {
        // Traffic that varies through the day, as a household's does.
        const int64_t download = 200000 + (minute * 7919) % 3000000;
        hour.push_back(sampleMinute(startUtc + minute * 60, download, int32_t(minute % 90000000), addresses));
        if (hour.size() == 60) {
            if (!store.write(hour))
                return false;
            hour.clear();
        }
    }
    return hour.empty() || store.write(hour);
}
