#pragma once

#include "meter/fapparameters.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

struct TrafficStats;

enum class Restriction { None, Throttled, CutOff };
enum class LevelTrend { Rising, Falling, Steady };

// "none", "THROTTLED", "CUT OFF": the texts the monitor shows.
QString restrictionText(Restriction restriction);

// The rules of the one-second step, shared by FapMeter and the download planner.
// The time of day of a date-time in whole milliseconds: date-times carry rounding noise in their
// last bits, and the off-peak ends are exclusive to the exact moment.
int64_t millisecondOfDay(double dateTime) noexcept;
// The cut-off limit in force at the local date-time `now` (days since 30 Dec 1899).
int32_t limitInForce(const FapParameters &parameters, double now) noexcept;
// The bucket after one second's recharge: never below 0, never past the 32-bit top.
int32_t rechargedLevel(int32_t used, int32_t rechargeRate) noexcept;
// The cut-off latch after a step that left `used` bytes under `limit`: it sets close to the
// limit and releases below three quarters of it, in that order.
bool latchAfterTick(bool cutOff, int32_t used, int32_t limit) noexcept;

// The provider's bucket of downloaded bytes. usedBytes is shared with the capture thread:
// every read-modify-write of it is one compare-and-swap loop, so no update is lost. Everything
// else belongs to the user-interface thread.
class FapMeter
{
public:
    // The latch sets when the bucket comes this close to the limit in force (decimal bytes).
    static constexpr int32_t cutOffMargin = 1000000;

    // Capture thread: a download frame of `bytes` on the wire goes into the bucket.
    void addDownload(uint32_t bytes) noexcept;

    int32_t usedBytes() const noexcept { return m_usedBytes.load(std::memory_order_relaxed); }
    void setUsedBytes(int32_t bytes) noexcept { m_usedBytes.store(bytes, std::memory_order_relaxed); }
    // The level replaced while the capture adds to it; returns the level it replaced.
    int32_t exchangeUsedBytes(int32_t bytes) noexcept { return m_usedBytes.exchange(bytes, std::memory_order_relaxed); }

    int32_t activeLimit() const noexcept { return m_activeLimit.load(std::memory_order_relaxed); }
    void setActiveLimit(int32_t limit) noexcept { m_activeLimit.store(limit, std::memory_order_relaxed); }

    // The settings load: the plan's parameters, nothing else.
    void setParameters(const FapParameters &parameters) noexcept { m_parameters = parameters; }
    // A confirmation of the options: the parameters and the typed level; the limit in force
    // goes back to the on-peak one. The latch and the rate history stay.
    void applySettings(const FapParameters &parameters, int32_t usedBytes) noexcept;

    // The one-second step. `now` is the local date-time as days since 30 Dec 1899 (fraction =
    // time of day); the statistics move inside the step, before the recharge.
    void tick(double now, int32_t downloadBytes, int32_t uploadBytes, TrafficStats &stats) noexcept;

    // "Reset FAP level": an empty bucket and no cut-off.
    void resetLevel() noexcept;
    // Both reset commands: the smoothed rate and the trend start again from 0.
    void resetRateHistory() noexcept;
    // Start-up: drains the recharge of the time since `lastSave` (a clock set back counts too).
    void catchUp(double lastSave, double now) noexcept;

    const FapParameters &parameters() const noexcept { return m_parameters; }
    bool cutOff() const noexcept { return m_cutOff; }
    int32_t smoothedDownload() const noexcept { return m_smoothedDownload; }
    int32_t previousUsed() const noexcept { return m_previousUsed; }
    // Bytes per second: positive drains the bucket, negative fills it.
    int64_t netRate() const noexcept { return int64_t(m_parameters.rechargeRate) - m_smoothedDownload; }

    // Readouts of the last tick (they change only at a tick).
    Restriction restriction() const noexcept;
    // No byte down or up in the last tick: the speeds hold their last values.
    bool idle() const noexcept { return m_reading.idle; }
    int64_t remaining() const noexcept;    // never below 0
    int64_t levelPercent() const noexcept; // 0 to 100; 0 when the limit in force is 0
    int64_t bytesToThrottle() const noexcept;
    double bytesToCutOff() const noexcept; // quarters of a byte while cut off
    std::optional<int64_t> fullRecoverySeconds() const noexcept;
    std::optional<int64_t> secondsToThrottle() const noexcept;
    std::optional<int64_t> secondsToCutOff() const noexcept;
    LevelTrend trend() const noexcept { return m_trend; }
    // Filled pixels of a level bar `width` pixels wide, within 0..width; 0 when the limit is 0.
    int barFill(int width) const noexcept;

private:
    // What the readouts are computed from, taken at the end of each tick.
    struct Reading
    {
        int32_t used = 0;
        int32_t limit = 0;
        int32_t throttle = 0;
        int32_t recharge = 0;
        int64_t net = 0;
        bool cutOff = false;
        bool idle = true;
    };

    // One indivisible read-modify-write of usedBytes; returns the value stored.
    template <typename Change>
    int32_t changeUsed(Change change) noexcept;

    FapParameters m_parameters;
    std::atomic<int32_t> m_usedBytes{0};
    std::atomic<int32_t> m_activeLimit{0};
    bool m_cutOff = false;
    int32_t m_smoothedDownload = 0;
    int32_t m_previousUsed = 0;
    Reading m_reading;
    LevelTrend m_trend = LevelTrend::Steady;
};
