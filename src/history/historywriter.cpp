#include "history/historywriter.h"

#include "meter/fapmeter.h"
#include "meter/hostaliases.h"
#include "meter/hostcounters.h"

#include <QCoreApplication>

#include <vector>

HistoryWriter::HistoryWriter(QString path)
    : m_path(std::move(path))
{
}

HistoryWriter::~HistoryWriter() = default;

bool HistoryWriter::tryOpen()
{
    if (!m_store)
        m_store = std::make_unique<HistoryStore>(m_path);
    reportMovedAside();
    return m_store->isOpen();
}

void HistoryWriter::reportMovedAside()
{
    if (const QString moved = m_store->takeMovedAsideMessage(); !moved.isEmpty())
        Q_EMIT message(moved);
}

void HistoryWriter::open()
{
    if (!tryOpen())
        fail(m_store->error());
}

void HistoryWriter::fail(const QString &error)
{
    if (m_failing)
        return;
    m_failing = true;
    Q_EMIT message(QCoreApplication::translate("HistoryWriter", "Could not write the usage history %1: %2. The minutes are kept and written later")
                       .arg(m_path, error));
}

void HistoryWriter::write(const FinishedMinute &minute)
{
    m_kept.push_back(minute);
    if (m_kept.size() > maxKeptMinutes)
        m_kept.pop_front();
    tryOpen();
    const bool written = m_store->write(std::vector<FinishedMinute>(m_kept.begin(), m_kept.end()));
    reportMovedAside();
    if (!written) {
        fail(m_store->error());
        return;
    }
    m_kept.clear();
    if (m_failing) {
        m_failing = false;
        Q_EMIT message(QCoreApplication::translate("HistoryWriter", "Writing the usage history %1 works again").arg(m_path));
    }
}

void HistoryWriter::writeCorrection(const BucketCorrection &correction)
{
    tryOpen();
    const bool written = m_store->writeCorrection(correction);
    reportMovedAside();
    if (!written)
        Q_EMIT message(tr("Could not record the correction of the bucket in the usage history %1: %2")
                           .arg(m_path, m_store->error()));
}

void HistoryWriter::close()
{
    m_store.reset();
}

HistoryRecorder::HistoryRecorder(const QString &path, QObject *parent)
    : QObject(parent)
    , m_worker([this, path] { run(path); })
{
}

HistoryRecorder::~HistoryRecorder()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_one();
    m_worker.join();
}

void HistoryRecorder::record(FinishedMinute minute)
{
    {
        const std::lock_guard lock(m_mutex);
        m_minutes.push_back(std::move(minute));
    }
    m_wake.notify_one();
}

void HistoryRecorder::recordCorrection(const BucketCorrection &correction)
{
    {
        const std::lock_guard lock(m_mutex);
        m_corrections.push_back(correction);
    }
    m_wake.notify_one();
}

void HistoryRecorder::run(const QString &path)
{
    // The writer and its connection belong to this thread.
    HistoryWriter writer(path);
    QObject::connect(&writer, &HistoryWriter::message,
                     [this](const QString &text) { m_messages.post([this, text] { Q_EMIT message(text); }); });
    writer.open();
    for (;;) {
        std::deque<FinishedMinute> minutes;
        std::deque<BucketCorrection> corrections;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_closing || !m_minutes.empty() || !m_corrections.empty(); });
            if (m_minutes.empty() && m_corrections.empty())
                break;
            minutes.swap(m_minutes);
            corrections.swap(m_corrections);
        }
        for (const FinishedMinute &minute : minutes)
            writer.write(minute);
        for (const BucketCorrection &correction : corrections)
            writer.writeCorrection(correction);
    }
    writer.close();
}

std::optional<FinishedMinute> HistoryFeed::tick(int64_t nowUtc, const TrafficCounters::Tick &taken,
                                                const TrafficCounters &counters, const FapMeter &meter,
                                                HostCounters &hosts, const HostAliases &aliases,
                                                uint64_t droppedTotal)
{
    // The totals only grow, but a reset of the counters puts them back to 0.
    const auto since = [](int64_t total, int64_t &last) {
        const int64_t step = total >= last ? total - last : total;
        last = total;
        return step;
    };
    UsagePeriod sample;
    std::vector<HostUsage> sampleHosts;
    sample.downloadBytes = taken.downloadBytes;
    sample.uploadBytes = taken.uploadBytes;
    sample.downloadPackets = since(counters.downloadPackets.load(std::memory_order_relaxed), m_downloadPackets);
    sample.uploadPackets = since(counters.uploadPackets.load(std::memory_order_relaxed), m_uploadPackets);
    sample.levelBytes = meter.usedBytes();
    sample.limitBytes = meter.activeLimit();
    sample.throttleLimitBytes = meter.parameters().throttleLimit;
    sample.worstRestriction = meter.restriction();
    sample.droppedFrames = int64_t(droppedTotal >= m_dropped ? droppedTotal - m_dropped : droppedTotal);
    m_dropped = droppedTotal;
    hosts.take([&](HostAddress address, uint64_t bytes) { 
        sampleHosts.push_back({aliases.rowOf(address), int64_t(bytes)});
    });
    return m_minutes.add(nowUtc, sample, sampleHosts);
}
