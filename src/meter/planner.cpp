#include "meter/planner.h"

#include "meter/fapmeter.h"
#include "meter/oledate.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <vector>

namespace {

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
// A download is followed for a week from its start, and starts are tried for a week.
constexpr int64_t kLastTick = 2 * planSearchSeconds + 1;

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t quotient = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? quotient - 1 : quotient;
}

int64_t ceilDiv(int64_t a, int64_t b)
{
    return -floorDiv(-a, b);
}

// The cut-off limit in force at each tick, as pieces that start at given ticks. The limit can
// change only where the local time of day passes an end of the off-peak window or the clock
// jumps; the pieces start at those ticks (and the one after, for a tick that falls on an end
// exactly), and each piece takes the limit FapMeter computes at its first tick.
class LimitSchedule
{
public:
    LimitSchedule(const FapParameters &parameters, const QDateTime &start)
    {
        std::vector<int64_t> ticks{0, 1};
        if (parameters.offPeakEnabled) {
            const auto addMoment = [&](const QDateTime &moment) {
                const int64_t offset = start.msecsTo(moment);
                if (offset > 0 && offset <= kLastTick * 1000) {
                    ticks.push_back(ceilDiv(offset, 1000));
                    ticks.push_back(ceilDiv(offset, 1000) + 1);
                }
            };
            const QDate first = start.date().addDays(-1);
            const QDate last = start.date().addDays(kLastTick / 86400 + 2);
            for (QDate day = first; day <= last; day = day.addDays(1)) {
                const QDateTime midnight(day, QTime(0, 0));
                const QDateTime nextMidnight(day.addDays(1), QTime(0, 0));
                // Each end under both of the day's offsets from UTC: an hour that the clock goes
                // through twice has the end twice.
                const QDateTime dayUtc(day, QTime(0, 0), Qt::UTC);
                for (const double end : {parameters.offPeakStart, parameters.offPeakEnd}) {
                    for (const int offset : {midnight.offsetFromUtc(), nextMidnight.offsetFromUtc()})
                        addMoment(dayUtc.addMSecs(millisecondOfDay(end) - int64_t(offset) * 1000));
                }
                if (midnight.offsetFromUtc() != nextMidnight.offsetFromUtc())
                    addMoment(clockChange(midnight, nextMidnight));
            }
        }
        std::sort(ticks.begin(), ticks.end());
        ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
        for (const int64_t tick : ticks) {
            const int32_t limit = limitInForce(parameters, oleDate(start.addSecs(tick)));
            if (m_limits.empty() || m_limits.back() != limit) {
                m_starts.push_back(tick);
                m_limits.push_back(limit);
            }
        }
    }

    int32_t limitAt(int64_t tick) const { return m_limits[piece(tick)]; }

    // The first tick after `tick` whose limit may differ.
    int64_t nextChange(int64_t tick) const
    {
        const size_t next = piece(tick) + 1;
        return next < m_starts.size() ? m_starts[next] : std::numeric_limits<int64_t>::max();
    }

    int32_t lowestLimit() const { return *std::min_element(m_limits.begin(), m_limits.end()); }

private:
    size_t piece(int64_t tick) const
    {
        return size_t(std::upper_bound(m_starts.begin(), m_starts.end(), tick) - m_starts.begin()) - 1;
    }

    // The first second of the day at which the clock reads with its new offset from UTC.
    static QDateTime clockChange(const QDateTime &from, const QDateTime &to)
    {
        int64_t before = from.toSecsSinceEpoch(), after = to.toSecsSinceEpoch();
        const int offset = from.offsetFromUtc();
        while (after - before > 1) {
            const int64_t middle = before + (after - before) / 2;
            (QDateTime::fromSecsSinceEpoch(middle).offsetFromUtc() == offset ? before : after) = middle;
        }
        return QDateTime::fromSecsSinceEpoch(after);
    }

    std::vector<int64_t> m_starts; // ascending, the first is 0
    std::vector<int32_t> m_limits;
};

// The bucket and the download as the ticks go by. One step is FapMeter's tick with the
// download's bytes before it; a stretch of ticks that all follow one straight line (the same
// limit, the same bytes, no clamp, no change of the latch, no watched level passed) is taken at
// once.
struct Walk
{
    const LimitSchedule &schedule;
    int32_t recharge = 0;
    int32_t throttle = 0;
    int64_t speed = 0;

    int64_t tick = 0;
    int32_t used = 0;
    bool cutOff = false;
    int32_t limit = 0; // in force since the last tick: the bound of the next bytes
    int64_t left = 0;  // bytes still to download

    bool restricted() const { return cutOff || used > throttle; }
    int64_t bytesNow() const { return cutOff || left == 0 ? 0 : std::min(speed, left); }

    void step()
    {
        const int64_t bytes = bytesNow();
        if (bytes > 0) {
            used = int32_t(std::min<int64_t>(int64_t(used) + bytes, limit));
            left -= bytes;
        }
        ++tick;
        limit = schedule.limitAt(tick);
        used = rechargedLevel(used, recharge);
        cutOff = latchAfterTick(cutOff, used, limit);
    }

    struct Line
    {
        int64_t ticks = 0; // none: one step instead
        int64_t slope = 0; // bytes per tick
    };

    // How many ticks from here, at most up to `until`, follow one straight line without
    // passing any of `watched` in either direction.
    Line straightLine(int64_t until, std::initializer_list<int64_t> watched) const
    {
        if (limit != schedule.limitAt(tick + 1))
            return {};
        const int64_t bytes = bytesNow();
        int64_t most = std::min(until, schedule.nextChange(tick + 1) - 1) - tick;
        if (bytes > 0) {
            if (bytes < speed)
                return {}; // the last, short second
            most = std::min(most, left / speed);
            // Filled to the limit every second and drained by the recharge, without the latch
            // (only a recharge above the latch's margin allows that): the level stands still.
            if (int64_t(used) + bytes >= limit && used == rechargedLevel(limit, recharge)
                && latchAfterTick(cutOff, used, limit) == cutOff)
                return {std::max<int64_t>(most, 0), 0};
            // Slower than the recharge from an empty bucket: each second's bytes drain within it.
            if (used == 0 && bytes <= recharge && bytes <= limit && latchAfterTick(cutOff, 0, limit) == cutOff)
                return {std::max<int64_t>(most, 0), 0};
        }
        const int64_t slope = bytes > 0 || used > 0 ? bytes - recharge : 0;
        // The bounds every tick's level must keep for the line to be exact.
        int64_t low = 0, high = kInt32Max;
        if (bytes > 0)
            high = std::min<int64_t>(high, int64_t(limit) - recharge); // the bytes are not cut at the limit
        const int64_t release = ceilDiv(3 * int64_t(limit), 4);         // the latch holds from here up
        if (cutOff)
            low = std::max(low, release);
        else
            high = std::min(high, std::max<int64_t>(int64_t(limit) - FapMeter::cutOffMargin, release - 1));
        for (const int64_t level : watched) {
            if (used <= level)
                high = std::min(high, level);
            else
                low = std::max(low, level + 1);
        }
        if (used + slope < low || used + slope > high)
            return {};
        if (slope > 0)
            most = std::min(most, floorDiv(high - used, slope));
        else if (slope < 0)
            most = std::min(most, floorDiv(used - low, -slope));
        return {std::max<int64_t>(most, 0), slope};
    }

    // One straight stretch, or one step where none is possible.
    void advance(int64_t until, std::initializer_list<int64_t> watched)
    {
        const Line line = straightLine(until, watched);
        if (line.ticks == 0) {
            step();
            return;
        }
        used = int32_t(used + line.ticks * line.slope);
        left -= line.ticks * bytesNow();
        tick += line.ticks;
    }
};

// The download started from the walk's state, up to its last byte, its first restricted tick
// or a week from its start. It fits when it ends done and reading "none".
Walk tryDownload(Walk walk, int64_t size)
{
    walk.left = size;
    const int64_t until = walk.tick + planSearchSeconds;
    while (!walk.restricted() && walk.left > 0 && walk.tick < until)
        walk.advance(until, {walk.throttle});
    return walk;
}

// The most a download of `size` at `speed` raises the bucket above where it started, whatever
// the level, as long as nothing clamps it: every second adds its bytes and drains the recharge.
__int128 rise(int64_t size, int64_t speed, int32_t recharge)
{
    if (speed <= recharge)
        return 0;
    const int64_t fullSeconds = size / speed, rest = size % speed;
    const __int128 full = __int128(fullSeconds) * (speed - recharge);
    return full + (rest > recharge ? rest - recharge : 0);
}

// The earliest start that fits. Waiting only drains the bucket, and a download that fits from
// one level fits from any lower one, so the search goes to the first tick at which the level is
// low enough and the latch is off; only a latch that the download itself would set (a throttle
// limit close to the cut-off limit) sends it on, tick by tick while the bucket drains.
std::optional<int64_t> earliestFit(Walk walk, int64_t size)
{
    const __int128 highestStart = __int128(walk.throttle) - rise(size, walk.speed, walk.recharge);
    if (highestStart < 0)
        return std::nullopt; // even an empty bucket passes the throttle limit on the way
    // A start that fits is never cut off, so the download takes the same seconds from any start.
    if (ceilDiv(size, walk.speed) > planSearchSeconds)
        return std::nullopt;
    const int64_t threshold = int64_t(highestStart);
    walk.left = 0;
    while (walk.tick <= planSearchSeconds) {
        while (walk.tick < planSearchSeconds && (walk.cutOff || walk.used > threshold))
            walk.advance(planSearchSeconds, {threshold});
        if (!walk.cutOff && walk.used <= threshold) {
            const Walk tried = tryDownload(walk, size);
            if (!tried.restricted() && tried.left == 0)
                return walk.tick;
            // A bucket that waiting leaves as it is (empty, or no recharge) meets the latch the
            // same way from every later start until the limit changes under the download.
            const int64_t next = walk.schedule.nextChange(walk.tick) - (tried.tick - walk.tick);
            if (rechargedLevel(walk.used, walk.recharge) == walk.used && next > walk.tick + 1
                && walk.tick < planSearchSeconds) {
                walk.tick = std::min(next, planSearchSeconds);
                walk.limit = walk.schedule.limitAt(walk.tick);
                continue;
            }
        }
        if (walk.tick == planSearchSeconds)
            break;
        walk.step();
    }
    return std::nullopt;
}

} // namespace

DownloadPlan planDownload(const DownloadRequest &request)
{
    DownloadPlan plan;
    if (request.sizeBytes <= 0 || request.speed <= 0 || !request.start.isValid())
        return plan;
    const QDateTime start = request.start.toLocalTime();
    const FapParameters &p = request.parameters;
    const LimitSchedule schedule(p, start);
    Walk walk{schedule, p.rechargeRate, p.throttleLimit, request.speed};
    walk.used = request.usedBytes;
    walk.cutOff = request.cutOff;
    walk.limit = schedule.limitAt(0);

    plan.fitsFrom = earliestFit(walk, request.sizeBytes);

    // Once the download is done, below the throttle limit and out of reach of the latch under
    // every limit, the bucket only drains: nothing more can happen.
    const int64_t safe = int64_t(schedule.lowestLimit()) - FapMeter::cutOffMargin;
    std::optional<int64_t> lastRestricted;
    const auto note = [&] {
        if (walk.used > walk.throttle && !plan.throttleAfter)
            plan.throttleAfter = walk.tick;
        if (walk.cutOff && !plan.cutOffAfter)
            plan.cutOffAfter = walk.tick;
        if (walk.restricted())
            lastRestricted = walk.tick;
        if (walk.left == 0 && !plan.finishAfter)
            plan.finishAfter = walk.tick;
        plan.curve.append({walk.tick, walk.used, walk.limit});
    };
    walk.left = request.sizeBytes;
    note();
    while (walk.tick < planSearchSeconds
           && (walk.left > 0 || walk.restricted() || (walk.used > safe && walk.recharge > 0))) {
        walk.advance(planSearchSeconds, {walk.throttle, safe});
        note();
    }
    if (lastRestricted && !walk.restricted() && walk.left == 0)
        plan.clearAfter = *lastRestricted + 1;
    return plan;
}
