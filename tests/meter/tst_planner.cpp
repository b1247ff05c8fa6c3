#include "meter/fapmeter.h"
#include "meter/oledate.h"
#include "meter/planner.h"
#include "meter/plantext.h"
#include "meter/trafficstats.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using Seconds = std::optional<int64_t>;

// The plan's figures as the tick-by-tick run of FapMeter finds them.
struct Outcome
{
    Seconds throttleAfter, cutOffAfter, finishAfter, clearAfter;
    std::vector<int32_t> used;   // after each tick, from the start
    std::vector<int32_t> limits; // the limit in force at each tick
    std::vector<bool> latched;   // the cut-off latch at each tick
};

struct Scenario
{
    FapParameters parameters;
    int32_t usedBytes = 0;
    bool cutOff = false;
    QDateTime start;
    int64_t size = 0;
    int64_t speed = 0;
    int64_t searchTicks = 0; // how many starts the brute force tries
};

FapParameters smallPlan(int32_t recharge = 10000)
{
    FapParameters parameters;
    parameters.rechargeRate = recharge;
    parameters.cutOffLimit = 20000000;   // the latch sets above 19 MB and lets go below 15 MB
    parameters.throttleLimit = 12000000;
    parameters.offPeakCutOffLimit = 40000000;
    return parameters;
}

// Limits far apart, so that a bucket can drain for a week without reaching the latch.
FapParameters widePlan()
{
    FapParameters parameters;
    parameters.rechargeRate = 1000;
    parameters.cutOffLimit = 1500000000;
    parameters.throttleLimit = 600000000;
    return parameters;
}

FapParameters withOffPeak(FapParameters parameters, QTime start, QTime end)
{
    parameters.offPeakEnabled = true;
    parameters.offPeakStart = start.msecsSinceStartOfDay() / 86400000.0;
    parameters.offPeakEnd = end.msecsSinceStartOfDay() / 86400000.0;
    return parameters;
}

QDateTime at(int year, int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// The program's meter, brought by ticks at `now` to the given level and latch.
void prime(FapMeter &meter, const FapParameters &parameters, int32_t used, bool cutOff, double now)
{
    TrafficStats stats;
    meter.setParameters(parameters);
    if (cutOff) {
        meter.setUsedBytes(parameters.cutOffLimit + parameters.rechargeRate);
        meter.tick(now, 0, 0, stats);
    }
    meter.setUsedBytes(used + parameters.rechargeRate);
    meter.tick(now, 0, 0, stats);
}

// The local date-times of the ticks, counted from the start.
class Clock
{
public:
    explicit Clock(const QDateTime &start) : m_start(start) {}
    double operator()(int64_t tick)
    {
        while (int64_t(m_moments.size()) <= tick)
            m_moments.push_back(oleDate(m_start.addSecs(int64_t(m_moments.size()))));
        return m_moments[size_t(tick)];
    }

private:
    QDateTime m_start;
    std::vector<double> m_moments;
};

// The download through FapMeter one tick at a time, from the meter's state at tick `from`: its
// bytes arrive as frames before each tick, none while cut off. Runs `ticks` ticks.
Outcome simulate(const FapParameters &parameters, int32_t used, bool cutOff, Clock &clock, int64_t from,
                 int64_t size, int64_t speed, int64_t ticks)
{
    FapMeter meter;
    TrafficStats stats;
    prime(meter, parameters, used, cutOff, clock(from));
    Outcome outcome;
    int64_t left = size;
    Seconds lastRestricted;
    for (int64_t tick = 0;; ++tick) {
        if (tick > 0) {
            const int64_t bytes = meter.cutOff() ? 0 : std::min(speed, left);
            for (int64_t sent = 0; sent < bytes; sent += 65535)
                meter.addDownload(uint32_t(std::min<int64_t>(65535, bytes - sent)));
            left -= bytes;
            meter.tick(clock(from + tick), int32_t(std::min<int64_t>(bytes, INT32_MAX)), 0, stats);
        }
        outcome.used.push_back(meter.usedBytes());
        outcome.limits.push_back(meter.activeLimit());
        outcome.latched.push_back(meter.cutOff());
        const bool throttled = meter.usedBytes() > parameters.throttleLimit;
        if (throttled && !outcome.throttleAfter)
            outcome.throttleAfter = tick;
        if (meter.cutOff() && !outcome.cutOffAfter)
            outcome.cutOffAfter = tick;
        if (left == 0 && !outcome.finishAfter)
            outcome.finishAfter = tick;
        if (throttled || meter.cutOff())
            lastRestricted = tick;
        if (tick == ticks)
            break;
    }
    if (lastRestricted && *lastRestricted < ticks && left == 0)
        outcome.clearAfter = *lastRestricted + 1;
    return outcome;
}

// Whether a download started at tick `from` of the idle run reads "none" at every tick up to
// its last byte.
bool fitsAt(const Scenario &s, const Outcome &idle, Clock &clock, int64_t from)
{
    // A download is followed for a week from its own start.
    const int64_t seconds = std::min((s.size + s.speed - 1) / s.speed, planSearchSeconds);
    const Outcome run = simulate(s.parameters, idle.used[size_t(from)], idle.latched[size_t(from)], clock, from,
                                 s.size, s.speed, seconds);
    return !run.throttleAfter && !run.cutOffAfter && run.finishAfter;
}

} // namespace

Q_DECLARE_METATYPE(Scenario)
Q_DECLARE_METATYPE(Seconds)

class TestPlanner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void matchesTheMeter_data();
    void matchesTheMeter();
    void sizeOrSpeedMissing();
    void longSpansSayDays_data();
    void longSpansSayDays();
};

void TestPlanner::initTestCase()
{
    // Eastern time with its clock changes, spelled out so that no time zone files are needed.
    qputenv("TZ", "EST5EDT,M3.2.0,M11.1.0");
}

void TestPlanner::matchesTheMeter_data()
{
    QTest::addColumn<Scenario>("scenario");
    QTest::addColumn<Seconds>("fitsFrom");
    const QDateTime noon = at(2026, 12, 10, 12, 0);
    // The download rises 1.8 MB on its way: it fits at once.
    QTest::newRow("fits now") << Scenario{smallPlan(), 0, false, noon, 2000000, 100000, 10} << Seconds(0);
    // 2.85 MB on its way from 11 MB: throttled in 6 s; it fits once the bucket is down to 9.15 MB.
    QTest::newRow("throttled, fits later")
        << Scenario{smallPlan(), 11000000, false, noon, 3000000, 200000, 400} << Seconds(185);
    // Cut off at 18 MB: nothing comes in until the latch lets go below 15 MB, 301 s on.
    QTest::newRow("starts while cut off")
        << Scenario{smallPlan(), 18000000, true, noon, 1000000, 100000, 800} << Seconds(690);
    // Cut off twice on the way; even from an empty bucket it passes the throttle limit.
    QTest::newRow("cut off on the way, never fits")
        << Scenario{smallPlan(), 10000000, false, noon, 20000000, 1000000, 600} << Seconds();
    // Through the off-peak minute the limit is 40 MB: no cut-off until the minute ends with the
    // bucket far above the on-peak limit.
    QTest::newRow("across the off-peak window")
        << Scenario{withOffPeak(smallPlan(), QTime(2, 0), QTime(2, 1)), 5000000, false,
                    at(2026, 12, 10, 1, 59, 50), 30000000, 500000, 300}
        << Seconds();
    // Coming in as fast as the recharge: the level stands still just below the throttle limit.
    QTest::newRow("zero net rate") << Scenario{smallPlan(), 11900000, false, noon, 500000, 10000, 10} << Seconds(0);
    // Slower than the recharge: the bucket drains while it downloads; it fits once below the limit.
    QTest::newRow("negative net rate")
        << Scenario{smallPlan(), 12500000, false, noon, 500000, 5000, 100} << Seconds(50);
    // Without recharge the bucket never drains: what does not fit now never will.
    QTest::newRow("no recharge") << Scenario{smallPlan(0), 11500000, false, noon, 1000000, 100000, 300} << Seconds();
    // A recharge above the latch's margin: the bucket fills to the limit every second and
    // drains below the latch's mark, throttled but never cut off.
    QTest::newRow("filled to the limit every second")
        << Scenario{smallPlan(1500000), 10000000, false, noon, 60000000, 3000000, 40} << Seconds();
    // The night the clock goes back an hour passes 1:30 twice; the off-peak window opens both
    // times and lets the latch go, so the download moves on for a few seconds each time.
    QTest::newRow("clock goes back")
        << Scenario{withOffPeak(smallPlan(1000), QTime(1, 30), QTime(1, 30, 20)), 25000000, true,
                    at(2026, 11, 1, 1, 29), 5000000, 100000, 18000}
        << Seconds(17950);
    // Slower than the recharge and longer than a week: the bucket stays empty and the planner
    // answers without trying every start.
    const int64_t week = planSearchSeconds;
    QTest::newRow("slower than the recharge, empty bucket")
        << Scenario{smallPlan(), 0, false, noon, 500LL << 20, 2, 1} << Seconds();
    QTest::newRow("slower than the recharge, throttled")
        << Scenario{smallPlan(), 12500000, false, noon, 5LL << 30, 5000, 1} << Seconds();
    QTest::newRow("slower than the recharge, cut off")
        << Scenario{smallPlan(), 18000000, true, noon, 8LL << 30, 9999, 1} << Seconds();
    QTest::newRow("a week long") << Scenario{smallPlan(), 0, false, noon, 2 * week, 2, 1} << Seconds(0);
    QTest::newRow("a second longer than a week")
        << Scenario{smallPlan(), 0, false, noon, 2 * week + 1, 2, 1} << Seconds();
    // The bucket drains to the highest level that fits at the last start looked at: the download
    // lifts it 1000 bytes, to the throttle limit and not past it.
    QTest::newRow("fits at the last start looked at")
        << Scenario{widePlan(), 600000000 - 1000 + 1000 * int32_t(week), false, noon, 2000, 2000, 0}
        << Seconds(week);
    QTest::newRow("one byte too many for the last start")
        << Scenario{widePlan(), 600000000 - 999 + 1000 * int32_t(week), false, noon, 2000, 2000, 0}
        << Seconds();
    // A throttle limit above the latch's mark: from an empty bucket the download sets the latch
    // at 19.26 MB on its way, unless the off-peak limit is in force by the time it gets there.
    FapParameters nearTheLimit = smallPlan();
    nearTheLimit.throttleLimit = 19500000;
    QTest::newRow("sets the latch from an empty bucket")
        << Scenario{nearTheLimit, 0, false, noon, 21400000, 100000, 300} << Seconds();
    QTest::newRow("sets the latch until the off-peak hours")
        << Scenario{withOffPeak(nearTheLimit, QTime(12, 5), QTime(12, 15)), 0, false, noon, 21400000, 100000, 400}
        << Seconds(89);
    // Six days of waiting, then two days of download that end past the week looked at.
    QTest::newRow("starts late, ends past the week")
        << Scenario{widePlan(), 600000000 - 172800000 + 1000 * 518400, false, noon, 2000LL * 172800, 2000, 0}
        << Seconds(518400);
}

void TestPlanner::matchesTheMeter()
{
    QFETCH(Scenario, scenario);
    QFETCH(Seconds, fitsFrom);
    const Scenario &s = scenario;
    Clock clock(s.start);
    // The request carries the meter's reading at the start.
    FapMeter startMeter;
    prime(startMeter, s.parameters, s.usedBytes, s.cutOff, clock(0));
    QCOMPARE(startMeter.usedBytes(), s.usedBytes);
    const DownloadPlan plan = planDownload(
        {s.parameters, startMeter.usedBytes(), startMeter.cutOff(), s.start, s.size, s.speed});

    // The curve, point by point and straight between its points, and the events on it.
    QVERIFY(!plan.curve.isEmpty());
    const int64_t end = plan.curve.last().second;
    const Outcome run = simulate(s.parameters, startMeter.usedBytes(), startMeter.cutOff(), clock, 0, s.size,
                                 s.speed, end + 3600);
    for (qsizetype i = 0; i < plan.curve.size(); ++i) {
        const LevelPoint &point = plan.curve[i];
        QCOMPARE(point.usedBytes, run.used[size_t(point.second)]);
        QCOMPARE(point.limit, run.limits[size_t(point.second)]);
        if (i == 0)
            continue;
        const LevelPoint &before = plan.curve[i - 1];
        const int64_t span = point.second - before.second;
        QVERIFY(span > 0);
        const int64_t rise = int64_t(point.usedBytes) - before.usedBytes;
        QCOMPARE(rise % span, 0);
        for (int64_t tick = before.second; tick <= point.second; ++tick)
            QCOMPARE(run.used[size_t(tick)], before.usedBytes + (tick - before.second) * (rise / span));
    }
    // The plan looks a week ahead.
    const auto withinTheWeek = [](Seconds after) { return after && *after <= planSearchSeconds ? after : Seconds(); };
    QCOMPARE(plan.throttleAfter, withinTheWeek(run.throttleAfter));
    QCOMPARE(plan.cutOffAfter, withinTheWeek(run.cutOffAfter));
    QCOMPARE(plan.finishAfter, withinTheWeek(run.finishAfter));
    QCOMPARE(plan.clearAfter, withinTheWeek(run.clearAfter));

    // The earliest start that fits, against every start tried one by one.
    QCOMPARE(plan.fitsFrom, fitsFrom);
    const Outcome idle = simulate(s.parameters, startMeter.usedBytes(), startMeter.cutOff(), clock, 0, 0, 1,
                                  s.searchTicks);
    Seconds found;
    for (int64_t from = 0; from <= s.searchTicks && !found; ++from) {
        if (fitsAt(s, idle, clock, from))
            found = from;
    }
    if (fitsFrom && *fitsFrom <= s.searchTicks)
        QCOMPARE(found, fitsFrom);
    else
        QCOMPARE(found, Seconds());
}

// Without a size or a speed there is nothing to plan.
void TestPlanner::sizeOrSpeedMissing()
{
    const QDateTime now = at(2026, 12, 10, 12, 0);
    for (const auto &[size, speed] : {std::pair<int64_t, int64_t>{0, 1000}, {1000, 0}, {-5, 1000}, {1000, -5}}) {
        const DownloadPlan plan = planDownload({smallPlan(), 0, false, now, size, speed});
        QVERIFY(plan.curve.isEmpty() && !plan.fitsFrom && !plan.finishAfter);
    }
}

void TestPlanner::longSpansSayDays_data()
{
    QTest::addColumn<int64_t>("seconds");
    QTest::addColumn<QString>("line");
    QTest::newRow("a minute") << int64_t(59) << QStringLiteral("Done in 00:00:59, at 12:00:59.");
    QTest::newRow("a second short of a day") << int64_t(86399)
                                             << QStringLiteral("Done in 23:59:59, at Fri 11 Dec 11:59:59.");
    QTest::newRow("a day") << int64_t(86400) << QStringLiteral("Done in 1 day 00:00:00, at Fri 11 Dec 12:00:00.");
    QTest::newRow("35 hours") << int64_t(35 * 3600 + 18 * 60 + 56)
                              << QStringLiteral("Done in 1 day 11:18:56, at Fri 11 Dec 23:18:56.");
    QTest::newRow("a week") << planSearchSeconds << QStringLiteral("Done in 7 days 00:00:00, at Thu 17 Dec 12:00:00.");
}

// Spans of a day or more say their days, not 35 hours.
void TestPlanner::longSpansSayDays()
{
    QFETCH(int64_t, seconds);
    QFETCH(QString, line);
    DownloadPlan plan;
    plan.finishAfter = seconds;
    QCOMPARE(describePlan(plan, at(2026, 12, 10, 12, 0), QLocale::c()).at(2), line);
}

QTEST_GUILESS_MAIN(TestPlanner)
#include "tst_planner.moc"
