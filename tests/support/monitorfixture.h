#pragma once

#include "meter/fapmeter.h"
#include "meter/metertick.h"
#include "meter/oledate.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"
#include "settings/appsettings.h"
#include "ui/monitor/monitorwindow.h"

#include "support/controls.h"

// One monitor window with its own settings, counters and bucket on the default plan, ticked the
// way the controller ticks it.
struct Monitor
{
    // A fixed moment; the off-peak window is off.
    static QDateTime noon() { return oleDateToDateTime(46000.5); }

    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    TrafficStats stats;
    MonitorWindow gui;
    QDateTime now = noon();

    Monitor()
    {
        meter.setParameters(settings.fap);
        // The limit a tick would set, so that downloads added before the first tick count.
        meter.setActiveLimit(settings.fap.cutOffLimit);
    }

    // One tick of what the per-tick counters hold, at `now`.
    void tick()
    {
        const TrafficCounters::Tick taken = runMeterTick(oleDate(now), counters, meter, stats);
        gui.showTick({now, taken, meter, counters, stats, settings.trayStyle, settings.chartHistorySeconds});
    }

    // One tick of this traffic.
    void tick(int32_t download, int32_t upload, int32_t packets)
    {
        counters.tickDownloadBytes = download;
        counters.tickUploadBytes = upload;
        counters.tickPackets = packets;
        tick();
    }

    // A control of the window by its object name.
    template <typename Control>
    Control *part(const QString &name) const
    {
        return findControl<Control>(gui, name);
    }
};
