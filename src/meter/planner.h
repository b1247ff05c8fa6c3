#pragma once

#include "meter/fapparameters.h"

#include <QDateTime>
#include <QList>

#include <cstdint>
#include <optional>

// A download to plan: `sizeBytes` at `speed` bytes per second, starting at `start` with the
// bucket as the meter read it at the tick of that moment.
struct DownloadRequest
{
    FapParameters parameters;
    int32_t usedBytes = 0;
    bool cutOff = false;   // the latch at that tick
    QDateTime start;       // the ticks follow one a second from here; the off-peak hours are local
    int64_t sizeBytes = 0; // above 0
    int64_t speed = 0;     // bytes per second, above 0
};

// The bucket at one tick of the plan, for its curve.
struct LevelPoint
{
    int64_t second = 0;     // since the start
    int32_t usedBytes = 0;
    int32_t limit = 0;      // the cut-off limit in force
};

// Seconds counted from the request's start; an empty value: not within the time looked at.
struct DownloadPlan
{
    // The first tick above the throttle limit (0: already above it at the start).
    std::optional<int64_t> throttleAfter;
    // The first tick with the cut-off latch set (0: cut off at the start).
    std::optional<int64_t> cutOffAfter;
    // The tick that takes the last byte; the download waits while cut off.
    std::optional<int64_t> finishAfter;
    // After a throttle or a cut-off: the tick from which the meter reads "none" again for good.
    std::optional<int64_t> clearAfter;
    // The earliest start within planSearchSeconds at which every tick up to the last byte reads
    // "none": below the throttle limit and not cut off.
    std::optional<int64_t> fitsFrom;
    // The bucket from the start until the download is done and the restrictions are over, at
    // every tick where its course bends; straight between the points.
    QList<LevelPoint> curve;
};

// How far ahead the planner looks: for the start that fits, and for each download from its start.
inline constexpr int64_t planSearchSeconds = 7 * 86400;

// Runs the bucket forward as FapMeter does, one tick a second (recharge, the limit in force by
// the time of day, the latch and its release at three quarters), the download's bytes arriving
// before each tick (at most `speed` of them, none while cut off). It moves from event to event
// rather than second by second, so a week costs about as much as a minute. A request without a
// size or a speed gives an empty plan.
DownloadPlan planDownload(const DownloadRequest &request);
