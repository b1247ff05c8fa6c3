// planDownload, which moves from event to event, beside the tick-by-tick run of FapMeter it
// stands for over the same span (the download alone, without the search for a start that fits).
// Before any timing, both must agree on when the throttle, the cut-off and the end come.
#include "meter/fapmeter.h"
#include "meter/oledate.h"
#include "meter/planner.h"
#include "meter/trafficstats.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

struct Case
{
    const char *name;
    int32_t used;
    int64_t size;
    int64_t speed;
};

// The default plan with off-peak hours 02:00-07:00; starts at noon.
const Case cases[] = {
    {"fits_100MB_at_50KBps", 0, 100LL << 20, 50 << 10},
    {"throttled_500MB_at_200KBps", 60000000, 500LL << 20, 200 << 10},
    {"cut_off_3GB_at_1MBps", 90000000, 3LL << 30, 1 << 20},
    // Slower than the recharge and longer than the week looked at: the search for a start that
    // fits must not walk the week once per start.
    {"slower_than_recharge_500MB_at_2Bps", 0, 500LL << 20, 2},
};

FapParameters parameters()
{
    FapParameters p;
    p.offPeakEnabled = true;
    p.offPeakStart = 2.0 / 24;
    p.offPeakEnd = 7.0 / 24;
    return p;
}

const QDateTime start(QDate(2026, 12, 10), QTime(12, 0));

DownloadRequest request(const Case &c)
{
    return {parameters(), c.used, false, start, c.size, c.speed};
}

struct Events
{
    std::optional<int64_t> throttle, cutOff, finish;
};

// The download through the meter one tick at a time, for `ticks` ticks.
Events tickByTick(const Case &c, int64_t ticks, const double *moments)
{
    FapMeter meter;
    TrafficStats stats;
    meter.setParameters(parameters());
    meter.setUsedBytes(c.used + parameters().rechargeRate);
    meter.tick(moments[0], 0, 0, stats);
    Events events;
    int64_t left = c.size;
    for (int64_t tick = 0; tick <= ticks; ++tick) {
        if (tick > 0) {
            const int64_t bytes = meter.cutOff() ? 0 : std::min(c.speed, left);
            if (bytes > 0)
                meter.addDownload(uint32_t(bytes));
            left -= bytes;
            meter.tick(moments[tick], int32_t(bytes), 0, stats);
        }
        if (meter.usedBytes() > meter.parameters().throttleLimit && !events.throttle)
            events.throttle = tick;
        if (meter.cutOff() && !events.cutOff)
            events.cutOff = tick;
        if (left == 0 && !events.finish)
            events.finish = tick;
    }
    return events;
}

std::vector<double> moments(int64_t ticks)
{
    std::vector<double> all;
    for (int64_t tick = 0; tick <= ticks; ++tick)
        all.push_back(oleDate(start.addSecs(tick)));
    return all;
}

void gate(const Case &c)
{
    const DownloadPlan plan = planDownload(request(c));
    const int64_t span = plan.curve.last().second;
    const Events events = tickByTick(c, span, moments(span).data());
    if (events.throttle != plan.throttleAfter || events.cutOff != plan.cutOffAfter || events.finish != plan.finishAfter) {
        std::fprintf(stderr, "bench_planner: %s: the plan and the meter disagree\n", c.name);
        std::exit(1);
    }
}

void planBench(benchmark::State &state, const Case &c)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(planDownload(request(c)));
}

void tickBench(benchmark::State &state, const Case &c)
{
    const int64_t span = planDownload(request(c)).curve.last().second;
    const std::vector<double> all = moments(span); // the clock is not what is measured
    for (auto _ : state)
        benchmark::DoNotOptimize(tickByTick(c, span, all.data()));
    state.counters["ticks"] = double(span);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("TZ", "UTC");
    for (const Case &c : cases) {
        gate(c);
        benchmark::RegisterBenchmark((std::string("plan/") + c.name).c_str(), planBench, c)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("ticks/") + c.name).c_str(), tickBench, c)->Unit(benchmark::kMicrosecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
