#include "history/minuteaccumulator.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace {

int64_t floorTo(int64_t utc, int64_t length)
{
    const int64_t rest = utc % length;
    return utc - (rest < 0 ? rest + length : rest);
}

void addHosts(std::vector<HostUsage> &into, const std::vector<HostUsage> &hosts)
{
    for (const HostUsage &host : hosts) {
        const auto found = std::find_if(into.begin(), into.end(),
                                        [&](const HostUsage &known) { return known.address == host.address; });
        if (found != into.end())
            found->downloadBytes += host.downloadBytes;
        else
            into.push_back(host);
    }
}

} // namespace

int64_t minuteStart(int64_t utc)
{
    return floorTo(utc, 60);
}

int64_t hourStart(int64_t utc)
{
    return floorTo(utc, 3600);
}

int64_t localDayStart(int64_t utc)
{
    const auto seconds = time_t(utc);
    std::tm local{};
    localtime_r(&seconds, &local);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return int64_t(mktime(&local));
}

std::optional<FinishedMinute> MinuteAccumulator::add(int64_t nowUtc, const UsagePeriod &sample,
                                                     const std::vector<HostUsage> &hosts)
{
    const int64_t start = minuteStart(nowUtc);
    std::optional<FinishedMinute> finished;
    if (m_open && m_open->period.startUtc != start)
        finished = std::exchange(m_open, std::nullopt);
    if (!m_open) {
        m_open.emplace();
        m_open->period.startUtc = start;
    }
    UsagePeriod &period = m_open->period;
    period.downloadBytes += sample.downloadBytes;
    period.uploadBytes += sample.uploadBytes;
    period.downloadPackets += sample.downloadPackets;
    period.uploadPackets += sample.uploadPackets;
    period.levelBytes = sample.levelBytes;
    period.limitBytes = sample.limitBytes;
    period.throttleLimitBytes = sample.throttleLimitBytes;
    period.worstRestriction = std::max(period.worstRestriction, sample.worstRestriction);
    period.droppedFrames += sample.droppedFrames;
    addHosts(m_open->hosts, hosts);
    return finished;
}

std::optional<FinishedMinute> MinuteAccumulator::finish()
{
    return std::exchange(m_open, std::nullopt);
}
