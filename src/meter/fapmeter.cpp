#include "meter/fapmeter.h"

#include "meter/trafficstats.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

// The floor of a / b for b != 0: the readouts are exact floors of rational values.
template <typename Int>
Int floorDiv(Int a, Int b) noexcept
{
    const Int quotient = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? quotient - 1 : quotient;
}

constexpr int64_t kMillisecondsPerDay = 86400000;

bool insideOffPeak(const FapParameters &parameters, double now) noexcept
{
    const int64_t t = millisecondOfDay(now);
    const int64_t s = millisecondOfDay(parameters.offPeakStart);
    const int64_t e = millisecondOfDay(parameters.offPeakEnd);
    // Both ends exclusive; a window across midnight when the start is later than the end.
    if (s < e)
        return s < t && t < e;
    if (s > e)
        return t < e || t > s;
    return false;
}

} // namespace

int64_t millisecondOfDay(double dateTime) noexcept
{
    const double fraction = dateTime - std::floor(dateTime);
    return int64_t(std::llround(fraction * kMillisecondsPerDay)) % kMillisecondsPerDay;
}

int32_t limitInForce(const FapParameters &parameters, double now) noexcept
{
    return parameters.offPeakEnabled && insideOffPeak(parameters, now) ? parameters.offPeakCutOffLimit
                                                                        : parameters.cutOffLimit;
}

int32_t rechargedLevel(int32_t used, int32_t rechargeRate) noexcept
{
    // A negative recharge rate would fill the bucket: it stops at the 32-bit top, never wraps.
    const int64_t next = used > 0 ? int64_t(used) - rechargeRate : used;
    return int32_t(std::clamp<int64_t>(next, 0, kInt32Max));
}

bool latchAfterTick(bool cutOff, int32_t used, int32_t limit) noexcept
{
    if (used > int64_t(limit) - FapMeter::cutOffMargin)
        cutOff = true;
    return cutOff && double(used) < 0.75 * double(limit) ? false : cutOff;
}

// English, as the machine-read lines print it; windows translate it in the context "Restriction".
QString restrictionText(Restriction restriction)
{
    switch (restriction) {
    case Restriction::Throttled:
        return QStringLiteral(QT_TRANSLATE_NOOP("Restriction", "THROTTLED"));
    case Restriction::CutOff:
        return QStringLiteral(QT_TRANSLATE_NOOP("Restriction", "CUT OFF"));
    case Restriction::None:
        break;
    }
    return QStringLiteral(QT_TRANSLATE_NOOP("Restriction", "none"));
}

template <typename Change>
int32_t FapMeter::changeUsed(Change change) noexcept
{
    int32_t old = m_usedBytes.load(std::memory_order_relaxed);
    int32_t next;
    do {
        next = change(old);
    } while (!m_usedBytes.compare_exchange_weak(old, next, std::memory_order_relaxed));
    return next;
}

void FapMeter::addDownload(uint32_t bytes) noexcept
{
    changeUsed([this, bytes](int32_t old) {
        // The sum wraps like the 32-bit counter it models; a wrapped, negative sum means empty.
        int32_t next = static_cast<int32_t>(static_cast<uint32_t>(old) + bytes);
        if (next < 0)
            next = 0;
        return std::min(next, m_activeLimit.load(std::memory_order_relaxed));
    });
}

void FapMeter::applySettings(const FapParameters &parameters, int32_t usedBytes) noexcept
{
    m_parameters = parameters;
    m_usedBytes.store(usedBytes, std::memory_order_relaxed);
    m_activeLimit.store(parameters.cutOffLimit, std::memory_order_relaxed);
}

void FapMeter::tick(double now, int32_t downloadBytes, int32_t uploadBytes, TrafficStats &stats) noexcept
{
    const FapParameters &p = m_parameters;
    const int32_t limit = limitInForce(p, now);
    m_activeLimit.store(limit, std::memory_order_relaxed);

    m_smoothedDownload = int32_t(std::trunc(0.9 * m_smoothedDownload + 0.1 * downloadBytes));

    stats.tick(downloadBytes, uploadBytes);

    const int32_t used = changeUsed([recharge = p.rechargeRate](int32_t old) { return rechargedLevel(old, recharge); });
    m_cutOff = latchAfterTick(m_cutOff, used, limit);

    m_reading = Reading{used, limit, p.throttleLimit, p.rechargeRate, netRate(), m_cutOff,
                        downloadBytes == 0 && uploadBytes == 0};
    m_trend = used < m_previousUsed ? LevelTrend::Rising : used > m_previousUsed ? LevelTrend::Falling : LevelTrend::Steady;
    m_previousUsed = used;
}

void FapMeter::resetLevel() noexcept
{
    m_usedBytes.store(0, std::memory_order_relaxed);
    m_cutOff = false;
}

void FapMeter::resetRateHistory() noexcept
{
    m_smoothedDownload = 0;
    m_previousUsed = 0;
}

void FapMeter::catchUp(double lastSave, double now) noexcept
{
    // Whole seconds of the span, rounded to the millisecond first so that the noise of the two
    // date-times cannot cost a second.
    const double milliseconds = std::round(std::fabs(now - lastSave) * double(kMillisecondsPerDay));
    if (std::isnan(milliseconds))
        return; // no usable time of saving: the level stays as loaded
    // Any span beyond 2^62 ms drains every possible bucket; the cap keeps the cast defined.
    const int64_t elapsed = (milliseconds < 0x1p62 ? int64_t(milliseconds) : int64_t(1) << 62) / 1000;
    const int64_t recharge = m_parameters.rechargeRate;
    changeUsed([elapsed, recharge](int32_t old) {
        const __int128 next = __int128(old) - __int128(elapsed) * recharge;
        return int32_t(std::clamp<__int128>(next, 0, kInt32Max));
    });
}

Restriction FapMeter::restriction() const noexcept
{
    if (m_reading.cutOff)
        return Restriction::CutOff;
    return m_reading.used > m_reading.throttle ? Restriction::Throttled : Restriction::None;
}

int64_t FapMeter::remaining() const noexcept
{
    // A bucket above the limit in force (a typed level, the end of the off-peak hours) has
    // nothing left, not a negative allowance.
    return std::max<int64_t>(0, int64_t(m_reading.limit) - m_reading.used);
}

int64_t FapMeter::levelPercent() const noexcept
{
    if (m_reading.limit <= 0)
        return 0;
    return floorDiv<int64_t>(100 * remaining(), m_reading.limit);
}

int64_t FapMeter::bytesToThrottle() const noexcept
{
    return int64_t(m_reading.throttle) - m_reading.used;
}

double FapMeter::bytesToCutOff() const noexcept
{
    if (m_reading.cutOff)
        return 0.75 * m_reading.limit - m_reading.used;
    return double(remaining());
}

std::optional<int64_t> FapMeter::fullRecoverySeconds() const noexcept
{
    if (m_reading.recharge == 0)
        return std::nullopt;
    return std::abs(floorDiv<int64_t>(m_reading.used, m_reading.recharge));
}

std::optional<int64_t> FapMeter::secondsToThrottle() const noexcept
{
    const int64_t used = m_reading.used, throttle = m_reading.throttle, net = m_reading.net;
    if ((net > 0 && used > throttle) || (net < 0 && used < throttle))
        return std::abs(floorDiv(used - throttle, std::abs(net)));
    return std::nullopt;
}

std::optional<int64_t> FapMeter::secondsToCutOff() const noexcept
{
    const int64_t used = m_reading.used, limit = m_reading.limit, net = m_reading.net;
    if (m_reading.cutOff) {
        // Until the release at three quarters of the limit, counted in quarter bytes.
        if (net > 0)
            return std::abs(floorDiv(3 * limit - 4 * used, 4 * net));
        return std::nullopt;
    }
    if ((net > 0 && used > limit) || (net < 0 && used < limit))
        return std::abs(floorDiv(used - limit, std::abs(net)));
    return std::nullopt;
}

int FapMeter::barFill(int width) const noexcept
{
    if (m_reading.limit == 0 || width <= 0)
        return 0;
    // The product can pass 64 bits for a typed level far above a tiny limit.
    const __int128 fill = floorDiv<__int128>(__int128(width) * remaining(), m_reading.limit);
    return int(std::clamp<__int128>(fill, 0, width));
}
