#pragma once

#include "meter/trafficcounters.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>

class FapMeter;
struct TrafficStats;

// The columns of one tick's line, which every tarvo-cli command that ticks prints.
extern const char csvHeader[];

// What one tick's line shows: the state after the tick numbered `tick`, run at `moment`.
struct CsvTick
{
    int64_t tick;
    const QDateTime &moment;
    const TrafficCounters::Tick &taken;
    const FapMeter &meter;
    const TrafficStats &stats;
    const TrafficCounters &counters;
};

// The line, without its line end.
QByteArray csvLine(const CsvTick &tick);
