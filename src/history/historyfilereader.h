#pragma once

#include "history/usagehistory.h"

#include <QString>

// The usage history file as the windows read it. Each question opens a store of its own and
// closes it again, so the reader follows the file the writer keeps: one created after the start,
// or the new one after a damaged file was moved aside. A missing or unreadable file reads as an
// empty history.
class HistoryFileReader : public UsageHistoryReader
{
public:
    explicit HistoryFileReader(QString path);

    std::vector<UsagePeriod> periods(HistoryGranularity granularity, int64_t fromUtc, int64_t toUtc) const override;
    std::vector<HostUsage> hosts(int64_t fromUtc, int64_t toUtc) const override;

private:
    QString m_path;
};
