#pragma once

#include "meter/trafficcounters.h"

#include <QString>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

class FapMeter;
struct TrafficStats;

// The columns of one tick's line, which every tarvo-cli command that ticks prints (no line end).
extern const char csvHeader[];

// A second since the epoch in local time, and the same moment as the OLE date the meter takes.
std::tm localTime(int64_t second);
double oleDateOf(const std::tm &local);

// The counts in a line's "down,up,packets": one tick's, or the sum of the ticks since the last line.
struct CsvCounts
{
    CsvCounts() = default;
    CsvCounts(const TrafficCounters::Tick &tick)
        : downloadBytes(tick.downloadBytes)
        , uploadBytes(tick.uploadBytes)
        , packets(tick.packets)
    {
    }
    CsvCounts &operator+=(const CsvCounts &more)
    {
        downloadBytes += more.downloadBytes;
        uploadBytes += more.uploadBytes;
        packets += more.packets;
        return *this;
    }

    int64_t downloadBytes = 0;
    int64_t uploadBytes = 0;
    int64_t packets = 0;
};

// What one tick's line shows: the state after the tick numbered `tick`, run at `local`.
struct CsvTick
{
    int64_t tick;
    const std::tm &local;
    CsvCounts taken;
    const FapMeter &meter;
    const TrafficStats &stats;
    const TrafficCounters &counters;
};

// One CSV line, built in place: a step of a month-long replay must cost little.
class CsvLine
{
public:
    void clear() { m_text.clear(); }
    const std::string &text() const { return m_text; }

    // Every column of csvHeader; more fields may follow.
    CsvLine &tick(const CsvTick &tick);

    CsvLine &operator<<(int64_t value);
    CsvLine &operator<<(std::string_view text) { return field(text); }
    CsvLine &operator<<(const QString &text) { return field(text.toStdString()); }

    // A fraction in plain decimal notation (no exponent, no grouping) with at least `significant`
    // significant digits, so the stored value can be read back exactly.
    CsvLine &decimal(double value, int significant);
    CsvLine &single(float value) { return decimal(value, 9); }
    // "2026-01-01T19:00:01"
    CsvLine &time(const std::tm &local);

private:
    CsvLine &field(std::string_view text);

    std::string m_text;
};
