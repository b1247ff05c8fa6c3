#pragma once

#include "history/historystore.h"
#include "history/minuteaccumulator.h"
#include "meter/ownerthreadqueue.h"
#include "meter/trafficcounters.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class FapMeter;
class HostAliases;
class HostCounters;

// Writes finished minutes into the store at `path`. A minute that cannot be written (disk full,
// read-only file) is kept, and tried again with the next one; a day of them at most, the oldest
// going first. A failure is reported once, and once more when writing works again.
class HistoryWriter : public QObject
{
    Q_OBJECT

public:
    static constexpr size_t maxKeptMinutes = 24 * 60;

    explicit HistoryWriter(QString path);
    ~HistoryWriter() override;

    // Opens the store (the first write does it otherwise); reports a file moved aside or a failure.
    void open();
    void write(const FinishedMinute &minute);
    // A failure is reported each time: a correction is rare and not tried again.
    void writeCorrection(const BucketCorrection &correction);
    // Closes the store, on the thread that wrote.
    void close();
    size_t keptMinutes() const { return m_kept.size(); }

Q_SIGNALS:
    void message(const QString &text);

private:
    bool tryOpen();
    void reportMovedAside();
    void fail(const QString &error);

    QString m_path;
    std::unique_ptr<HistoryStore> m_store;
    std::deque<FinishedMinute> m_kept;
    bool m_failing = false;
};

// A HistoryWriter on a thread of its own, so no write holds up the one-second tick. Minutes are
// written in the order recorded; the destructor writes what is queued, closes the store and joins.
// Both hand-overs go through a queue under a lock both threads take, so a race checker sees them.
class HistoryRecorder : public QObject
{
    Q_OBJECT

public:
    explicit HistoryRecorder(const QString &path, QObject *parent = nullptr);
    ~HistoryRecorder() override;

    void record(FinishedMinute minute);
    void recordCorrection(const BucketCorrection &correction);

Q_SIGNALS:
    // On the recorder's thread.
    void message(const QString &text);

private:
    void run(const QString &path);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<FinishedMinute> m_minutes;
    std::deque<BucketCorrection> m_corrections;
    bool m_closing = false;
    OwnerThreadQueue m_messages{this}; // the writer's messages, on their way to this object's thread
    std::thread m_worker;
};

// Turns the program's counters at each tick into the figures of the history's minutes: the
// tick's bytes, the packets and dropped frames since the last tick, the bucket after it, and the
// bytes of each LAN host taken from `hosts`, an IPv6 host's in the row `aliases` give it.
class HistoryFeed
{
public:
    std::optional<FinishedMinute> tick(int64_t nowUtc, const TrafficCounters::Tick &taken,
                                       const TrafficCounters &counters, const FapMeter &meter, HostCounters &hosts,
                                       const HostAliases &aliases, uint64_t droppedTotal);
    // The open minute at the end of a run.
    std::optional<FinishedMinute> finish() { return m_minutes.finish(); }

private:
    MinuteAccumulator m_minutes;
    int64_t m_downloadPackets = 0;
    int64_t m_uploadPackets = 0;
    uint64_t m_dropped = 0;
};
