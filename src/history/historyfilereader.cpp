#include "history/historyfilereader.h"

#include "history/historystore.h"

HistoryFileReader::HistoryFileReader(QString path)
    : m_path(std::move(path))
{
}

std::vector<UsagePeriod> HistoryFileReader::periods(HistoryGranularity granularity, int64_t fromUtc,
                                                    int64_t toUtc) const
{
    const HistoryStore store(m_path, HistoryStore::Mode::Read);
    return store.periods(granularity, fromUtc, toUtc);
}

std::vector<HostUsage> HistoryFileReader::hosts(int64_t fromUtc, int64_t toUtc) const
{
    const HistoryStore store(m_path, HistoryStore::Mode::Read);
    return store.hosts(fromUtc, toUtc);
}
