#include "meter/metertick.h"

#include "meter/fapmeter.h"
#include "meter/trafficstats.h"

TrafficCounters::Tick runMeterTick(double now, TrafficCounters &counters, FapMeter &meter, TrafficStats &stats)
{
    const TrafficCounters::Tick taken = counters.takeTick();
    meter.tick(now, taken.downloadBytes, taken.uploadBytes, stats);
    return taken;
}

void resetInterfaceCounters(TrafficCounters &counters, TrafficStats &stats, FapMeter &meter)
{
    stats.reset();
    counters.resetInterface();
    meter.resetRateHistory();
}

void resetFapLevel(TrafficCounters &counters, TrafficStats &stats, FapMeter &meter)
{
    resetInterfaceCounters(counters, stats, meter);
    meter.resetLevel();
}
