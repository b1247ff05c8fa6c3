#pragma once

#include "history/historystore.h"
#include "history/usagehistory.h"

#include <QString>

#include <sys/types.h>

#include <memory>

// The usage history file as the windows read it, on the thread that made the reader. It keeps a
// read-only store open while the file stays the same file, and opens the file again when the
// writer has made a new one (after the start, or after a damaged file was moved aside). A missing
// or unreadable file reads as an empty history.
class HistoryFileReader : public UsageHistoryReader
{
public:
    explicit HistoryFileReader(QString path);

    std::vector<UsagePeriod> periods(HistoryGranularity granularity, int64_t fromUtc, int64_t toUtc) const override;
    std::vector<HostUsage> hosts(int64_t fromUtc, int64_t toUtc) const override;
    std::vector<BucketCorrection> corrections() const override;

private:
    // The store on the file as it is now; null while there is no file.
    const HistoryStore *store() const;

    QString m_path;
    mutable std::unique_ptr<HistoryStore> m_store;
    mutable dev_t m_device = 0;
    mutable ino_t m_inode = 0;
};
