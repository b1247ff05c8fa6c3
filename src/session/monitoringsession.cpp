#include "session/monitoringsession.h"

#include "meter/metertick.h"
#include "meter/oledate.h"

#include <cmath>

MonitoringSession::MonitoringSession(QObject *parent)
    : QObject(parent)
{
}

MonitoringSession::~MonitoringSession()
{
    stopCapture();
}

void MonitoringSession::resume(const FapState &saved, const QDateTime &now)
{
    m_meter.applySettings(m_settings.fap, saved.usedBytes);
    m_lastUseKnown = saved.lastShut != noLastUse;
    m_drainedUntil = oleDate(now);
    if (m_lastUseKnown)
        m_meter.catchUp(saved.lastShut, m_drainedUntil);
}

bool MonitoringSession::drainWhileWaiting(const QDateTime &moment)
{
    if (m_ticking)
        return false;
    const double now = oleDate(moment);
    // Whole seconds only; the fraction left over counts at the next drain.
    const double milliseconds = std::round((now - m_drainedUntil) * 86400000.0);
    if (!(milliseconds >= 1000.0)) {
        if (!(milliseconds >= 0.0))
            m_drainedUntil = now; // a clock set back: drain from the new time on
        return false;
    }
    const double drainedUntil = m_drainedUntil + std::floor(milliseconds / 1000.0) / 86400.0;
    m_meter.catchUp(m_drainedUntil, drainedUntil);
    m_drainedUntil = drainedUntil;
    return true;
}

void MonitoringSession::takeBucket(std::optional<int32_t> usedBytes, bool resetActiveLimit)
{
    m_meter.setParameters(m_settings.fap);
    if (usedBytes)
        m_meter.setUsedBytes(*usedBytes);
    if (resetActiveLimit)
        m_meter.setActiveLimit(m_settings.fap.cutOffLimit);
}

void MonitoringSession::resetInterfaceCounters()
{
    ::resetInterfaceCounters(m_counters, m_stats, m_meter);
}

void MonitoringSession::resetFapLevel()
{
    ::resetFapLevel(m_counters, m_stats, m_meter);
}

std::optional<BucketCorrection> MonitoringSession::setLevelFromProvider(const ProviderFigure &figure,
                                                                       const QDateTime &now)
{
    // Before the first tick the limit in force may not be set yet: the on-peak limit it starts from.
    const int32_t limit = m_meter.activeLimit() > 0 ? m_meter.activeLimit() : m_meter.parameters().cutOffLimit;
    const std::optional<int32_t> level = levelFromProvider(figure, limit);
    if (!level)
        return std::nullopt;
    const int32_t before = m_meter.exchangeUsedBytes(*level);
    return BucketCorrection{now.toSecsSinceEpoch(), before, *level};
}

void MonitoringSession::setHistorySink(HistorySink sink)
{
    m_historySink = std::move(sink);
}

void MonitoringSession::finishHistory()
{
    if (!m_historySink)
        return;
    if (auto minute = m_historyFeed.finish())
        m_historySink(std::move(*minute));
    m_historySink = {};
}

void MonitoringSession::setProgramAttribution(std::unique_ptr<ProgramAttribution> attribution)
{
    m_attribution = std::move(attribution);
}

void MonitoringSession::setAdapterAddressSource(std::unique_ptr<AdapterAddressSource> source)
{
    m_adapterAddresses = std::move(source);
}

void MonitoringSession::setNeighbourSource(std::unique_ptr<NeighbourSource> source)
{
    m_neighbours = std::move(source);
}

void MonitoringSession::readAdapterNetworks()
{
    m_ticksSinceAddresses = 0;
    const QStringList networks = m_adapterAddresses->ipv6Networks(m_device);
    if (networks != m_adapterNetworks->entries())
        m_adapterNetworks->assign(networks);
}

void MonitoringSession::startCapture(const QByteArray &device)
{
    // Each host's download is counted only for a history.
    CaptureContext context = m_historySink ? CaptureContext{m_settings, m_counters, m_meter, m_hosts}
                                           : CaptureContext{m_settings, m_counters, m_meter};
    if (m_attribution) {
        context.pendingFlows = m_attribution->makePendingFlows();
        m_attribution->start();
    }
    m_device = device;
    m_adapterNetworks = context.adapterNetworks;
    readAdapterNetworks();
    m_capture = std::make_unique<CaptureThread>(std::move(context), device);
    connect(m_capture.get(), &CaptureThread::openFailed, this, &MonitoringSession::captureOpenFailed,
            Qt::DirectConnection);
    connect(m_capture.get(), &CaptureThread::captureStopped, this, [this](const QString &message) {
        setCaptureStopMessage(message);
        Q_EMIT captureStopped(message);
    }, Qt::DirectConnection);
    connect(m_capture.get(), &CaptureThread::captureResumed, this, [this](const QString &message) {
        setCaptureStopMessage(QString());
        Q_EMIT captureResumed(message);
    }, Qt::DirectConnection);
    m_capture->start();
}

void MonitoringSession::stopCapture()
{
    if (m_capture)
        m_capture->stop();
}

void MonitoringSession::tick(const QDateTime &now)
{
    m_ticking = true;
    if (m_capture && ++m_ticksSinceAddresses >= adapterAddressSeconds)
        readAdapterNetworks();
    const TrafficCounters::Tick taken = runMeterTick(oleDate(now), m_counters, m_meter, m_stats);
    const CaptureStatistics captured = m_capture ? m_capture->statistics() : CaptureStatistics{};
    if (m_historySink) {
        if (m_ticksSinceNeighbours == 0)
            m_hostAliases = HostAliases(m_neighbours->neighbours());
        m_ticksSinceNeighbours = (m_ticksSinceNeighbours + 1) % neighbourSeconds;
        if (auto minute = m_historyFeed.tick(now.toSecsSinceEpoch(), taken, m_counters, m_meter, m_hosts,
                                             m_hostAliases, captured.dropped))
            m_historySink(std::move(*minute));
    }
    if (m_attribution)
        m_programUsage.tick(now, m_meter.usedBytes() <= 0, m_attribution->take());
    Q_EMIT ticked(SessionTick{now, taken, m_meter, m_counters, m_stats, captured, captureStopMessage(), programUsage()});
}

void MonitoringSession::setCaptureStopMessage(const QString &message)
{
    const std::lock_guard lock(m_captureStateMutex);
    m_captureStopMessage = message;
}

QString MonitoringSession::captureStopMessage() const
{
    const std::lock_guard lock(m_captureStateMutex);
    return m_captureStopMessage;
}
