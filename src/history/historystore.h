#pragma once

#include "history/minuteaccumulator.h"
#include "history/usagehistory.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The usage history in one SQLite file ("tarvo-history.sqlite"): a row per minute, rolled up into
// hours (UTC) and local days in the same transaction, and the download of each LAN host in the
// same three sizes. Minutes are kept 7 days, hours a year, days for ever. A connection belongs to
// the thread that made the store; another thread (or process) opens a store of its own.
class HistoryStore : public UsageHistoryReader
{
public:
    static constexpr int64_t minuteRetentionSeconds = 7 * 86400;
    static constexpr int64_t hourRetentionSeconds = 365 * 86400;

    enum class Mode {
        Write, // creates the file; moves a damaged or foreign file aside and starts a new one
        Read,  // the file must exist and be a usage history; nothing is changed
    };

    explicit HistoryStore(QString path, Mode mode = Mode::Write);
    ~HistoryStore() override;
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    const QString &path() const { return m_path; }
    // Whether the file is open; else error() says why. A writing store tries again at every write.
    bool isOpen() const;
    QString error() const { return m_error; }
    // The message for the user when an open (at the start, or again after damage found by a
    // write) moved a damaged or foreign file aside; empty otherwise, and after it was taken.
    QString takeMovedAsideMessage() { return std::exchange(m_movedAside, QString()); }

    // The minutes in one transaction, each merged into the row its minute already has (a clock
    // set back) and added to its hour and day; then what is past its retention goes. False,
    // with error(), when nothing was written.
    bool write(const std::vector<FinishedMinute> &minutes);

    // One correction of the bucket from the provider's figure. False, with error(), when not written.
    bool writeCorrection(const BucketCorrection &correction);

    std::vector<UsagePeriod> periods(HistoryGranularity granularity, int64_t fromUtc, int64_t toUtc) const override;
    std::vector<BucketCorrection> corrections() const override;
    // From the finest size still kept at fromUtc: minutes, else hours, else days.
    std::vector<HostUsage> hosts(int64_t fromUtc, int64_t toUtc) const override;

private:
    struct Connection;

    bool connect();
    bool writeAll(const std::vector<FinishedMinute> &minutes, bool &damaged);
    bool open();
    void close();

    QString m_path;
    Mode m_mode;
    QString m_error;
    QString m_movedAside;
    std::unique_ptr<Connection> m_connection;
};
