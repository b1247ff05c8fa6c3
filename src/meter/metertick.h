#pragma once

#include "meter/trafficcounters.h"

class FapMeter;
struct TrafficStats;

// The one-second step the monitor window and tarvo-cli both run: takes the per-tick counters,
// runs the bucket step with the statistics inside, and returns what it took.
TrafficCounters::Tick runMeterTick(double now, TrafficCounters &counters, FapMeter &meter, TrafficStats &stats);

// "Reset interface counters ( does not affect FAP calculations )": statistics, counters (all but
// uploadedTotal) and the meter's rate history; the bucket and the latch stay.
void resetInterfaceCounters(TrafficCounters &counters, TrafficStats &stats, FapMeter &meter);

// "Reset FAP level" once confirmed: the same, then an empty bucket and no cut-off.
void resetFapLevel(TrafficCounters &counters, TrafficStats &stats, FapMeter &meter);
