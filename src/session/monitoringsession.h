#pragma once

#include "capture/capturethread.h"
#include "history/historywriter.h"
#include "meter/fapmeter.h"
#include "meter/hostcounters.h"
#include "meter/providerfigure.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"
#include "platform/adapteraddresses.h"
#include "platform/neighbourtable.h"
#include "programs/programusage.h"
#include "settings/appsettings.h"
#include "settings/settingsfile.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// What one tick did, as everything that follows the measurement reads it.
struct SessionTick
{
    QDateTime now;               // the moment of the tick
    TrafficCounters::Tick taken; // what the tick took from the per-tick counters
    const FapMeter &meter;       // after the tick
    const TrafficCounters &counters;
    const TrafficStats &stats;
    CaptureStatistics capture;  // the capture's totals; none before the capture starts
    QString captureStopMessage; // while the capture is stopped; empty otherwise
    const ProgramUsage *programs = nullptr; // each program's use; none while programs are not attributed
};

// A running measurement: the settings the capture counts by, the counters, the bucket, the
// speeds, each LAN host's download, the capture thread and the feed of the usage history. It
// catches the bucket up for the time the program was off and runs the one-second tick, which
// it reports as one SessionTick. It keeps no clock and no timer: whoever runs it calls tick()
// once a second with the time of the moment.
class MonitoringSession : public QObject
{
    Q_OBJECT

public:
    // Where the usage history's finished minutes go, on the thread that ticks.
    using HistorySink = std::function<void(FinishedMinute)>;

    explicit MonitoringSession(QObject *parent = nullptr);
    // Stops the capture.
    ~MonitoringSession() override;

    // The capture reads the address lists of these settings at every frame: an edit of a list
    // counts from the next frame on.
    AppSettings &settings() { return m_settings; }
    const AppSettings &settings() const { return m_settings; }
    // What the capture counts into; a test stands in for the capture here.
    TrafficCounters &counters() { return m_counters; }
    const TrafficCounters &counters() const { return m_counters; }
    HostCounters &hostCounters() { return m_hosts; }
    FapMeter &meter() { return m_meter; }
    const FapMeter &meter() const { return m_meter; }
    const TrafficStats &stats() const { return m_stats; }

    // The bucket as the last run saved it, with the plan of settings(), drained by the recharge
    // of the time from that save to `now`. Without a time of saving it stays as saved.
    void resume(const FapState &saved, const QDateTime &now);
    // The last resume() found the time of the save.
    bool lastUseKnown() const { return m_lastUseKnown; }
    // Until the first tick, the bucket drains by the recharge of the time since resume(), in
    // whole seconds, so every save and the confirmation see the level of the moment; from the
    // first tick on the tick does it. True when the level moved.
    bool drainWhileWaiting(const QDateTime &now);
    // The bucket takes the plan of settings(), and the level when one is given; with
    // `resetActiveLimit` the limit in force goes back to the cut-off limit.
    void takeBucket(std::optional<int32_t> usedBytes = std::nullopt, bool resetActiveLimit = false);
    // "Reset interface counters" and the confirmed "Reset FAP level".
    void resetInterfaceCounters();
    void resetFapLevel();
    // The bucket set to the level the provider's figure stands for under the limit in force, at
    // once and while the capture counts on; on the thread that ticks. The correction made, or none
    // for a figure out of range.
    std::optional<BucketCorrection> setLevelFromProvider(const ProviderFigure &figure, const QDateTime &now);

    // Before startCapture(): the finished minutes go to `sink`, and the capture counts each LAN
    // host's download for them.
    void setHistorySink(HistorySink sink);
    // At the end of a run: the minute under way goes to the sink too; nothing follows it.
    void finishHistory();

    // Before startCapture(): the capture counts this computer's flows and `attribution` tells
    // their programs; the tick sums each program's use (programUsage()).
    void setProgramAttribution(std::unique_ptr<ProgramAttribution> attribution);
    // Each program's use up to the last tick; none while programs are not attributed.
    const ProgramUsage *programUsage() const { return m_attribution ? &m_programUsage : nullptr; }

    // Before startCapture(): where the adapter's own IPv6 addresses are read; the system's by default.
    void setAdapterAddressSource(std::unique_ptr<AdapterAddressSource> source);
    // Starts counting the frames of `device`; once per session. The adapter's IPv6 networks are
    // read at once and again every adapterAddressSeconds ticks, and count as the LAN's while
    // AppSettings::useAdapterIpv6 holds.
    void startCapture(const QByteArray &device);
    static constexpr int adapterAddressSeconds = 3;
    // Before the first tick: where the neighbour tables are read; the system's by default. With a
    // history sink they are read at the first tick and every neighbourSeconds ticks after, and
    // an IPv6 host whose MAC has one IPv4 address counts in that address's row.
    void setNeighbourSource(std::unique_ptr<NeighbourSource> source);
    static constexpr int neighbourSeconds = 5;
    // The adapter's IPv6 networks as the capture last took them.
    QStringList adapterNetworks() const { return m_adapterNetworks ? m_adapterNetworks->entries() : QStringList(); }
    // Breaks the capture loop and joins the thread; the counters and the bucket stay valid.
    void stopCapture();
    bool captureStarted() const { return m_capture != nullptr; }
    // The thread has ended, after a failed open or stopCapture().
    bool captureEnded() const { return m_capture && m_capture->isFinished(); }
    const CaptureThread *captureThread() const { return m_capture.get(); }

    // The one-second step at `now`: the bucket, the speeds and the history's minute; then ticked().
    void tick(const QDateTime &now);
    // From the first tick on.
    bool ticking() const { return m_ticking; }

Q_SIGNALS:
    void ticked(const SessionTick &tick);
    // The capture's news, emitted on the capture thread: a receiver that touches anything of
    // another thread connects queued.
    void captureOpenFailed(const QString &message);
    void captureStopped(const QString &message);
    void captureResumed(const QString &message);

private:
    void setCaptureStopMessage(const QString &message);
    QString captureStopMessage() const;
    // The adapter's networks into the capture's list when they changed.
    void readAdapterNetworks();

    AppSettings m_settings;
    TrafficCounters m_counters;
    FapMeter m_meter;
    TrafficStats m_stats;
    HostCounters m_hosts;
    HistoryFeed m_historyFeed;
    HistorySink m_historySink;
    bool m_lastUseKnown = false;
    bool m_ticking = false;
    double m_drainedUntil = 0; // up to which the waiting bucket has drained, in the meter's OLE days
    mutable std::mutex m_captureStateMutex; // the stop message is written on the capture thread
    QString m_captureStopMessage;
    std::unique_ptr<AdapterAddressSource> m_adapterAddresses = std::make_unique<SystemAdapterAddresses>();
    QByteArray m_device;
    std::shared_ptr<LiveAddressList> m_adapterNetworks; // the capture context's
    int m_ticksSinceAddresses = 0;
    std::unique_ptr<NeighbourSource> m_neighbours = std::make_unique<SystemNeighbours>();
    HostAliases m_hostAliases;
    int m_ticksSinceNeighbours = 0;
    std::unique_ptr<ProgramAttribution> m_attribution;
    ProgramUsage m_programUsage;
    std::unique_ptr<CaptureThread> m_capture; // last: it stops before what it counts into goes
};
