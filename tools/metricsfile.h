#pragma once

#include "capture/capturethread.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

class FapMeter;
struct TrafficCounters;
struct TrafficStats;

// What one write of the metrics file shows, after a tick of `watch` on `device`.
struct MetricsFigures
{
    const QString &device;
    const FapMeter &meter;
    const TrafficStats &stats;
    const TrafficCounters &counters;
    CaptureStatistics capture;
    const std::map<QString, int64_t> &hostDownloads; // each LAN host's download since the start
};

// The figures in the Prometheus text format: a HELP and a TYPE line for each metric, names
// starting "tarvo_", bytes and seconds as the units, every sample labelled with the adapter.
QByteArray metricsText(const MetricsFigures &figures);

// Replaces the file at `path` whole: the text goes into a temporary file in the same folder,
// which then takes the file's name, so a reader sees the old file or the new one, never part of
// one. The message when it could not.
std::optional<QString> replaceFile(const QString &path, const QByteArray &text);
