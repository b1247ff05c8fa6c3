#pragma once

#include "meter/fapmeter.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

struct TrafficStats;

// What a status bar shows of the running program: the readouts of the last tick.
struct StatusFigures
{
    bool monitoring = false; // false until the first confirmation starts the tick
    Restriction restriction = Restriction::None;
    int64_t percentLeft = 0; // the monitor's percentage: the allowance left under the limit in force
    int64_t bytesLeft = 0;
    int64_t bytesToThrottle = 0;
    std::optional<int64_t> secondsToThrottle;
    std::optional<int64_t> secondsToCutOff;
    int64_t downloadSpeed = 0; // bytes per second, instant, rounded as the monitor rounds them
    int64_t uploadSpeed = 0;
    bool idle = false; // no byte down or up in the last tick: the speeds are held values
};

StatusFigures statusFigures(const FapMeter &meter, const TrafficStats &stats, bool monitoring);

// The figures on one line in the monitor's formats, for example "THROTTLED 12% | left 1,234,567
// bytes | to throttle - | to cut off 00:41:10 | down 53,000 bytes / s | up 1,200 bytes / s"; an
// idle link ends in "| idle" instead of the held speeds.
QString statusLine(const StatusFigures &figures, const QLocale &locale = QLocale());

// "none", "throttled", "cut_off": the restriction as the JSON and the metrics name it.
QString restrictionKey(Restriction restriction);

// Raised only when a key changes its meaning or goes away; new keys may come without it.
constexpr int statusVersion = 1;

// "none", "throttled", "cut_off": the restriction as scripts read it.
QString restrictionKey(Restriction restriction);

// The figures as one line of JSON (no line end). Keys: "version", "monitoring", "restriction"
// ("none", "throttled", "cut_off"), "percent_left", "bytes_left", "bytes_to_throttle",
// "seconds_to_throttle" and "seconds_to_cut_off" (null without an estimate),
// "download_bytes_per_second", "upload_bytes_per_second" (held while "idle" is true), "idle"; and
// the three a waybar module reads: "text" (the status line), "class" (the restriction) and
// "percentage" (the percentage left). Before the first Ok the two percentages are null. While
// programs are attributed, "top_program" too: the name of `topProgram` (the program that
// downloaded most in the last minute), null when it is empty.
QByteArray statusJson(const StatusFigures &figures, const QLocale &locale = QLocale(),
                      const std::optional<QString> &topProgram = std::nullopt);
