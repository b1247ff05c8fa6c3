#include "history/historyfilereader.h"

#include <QFile>

#include <sys/stat.h>

HistoryFileReader::HistoryFileReader(QString path)
    : m_path(std::move(path))
{
}

const HistoryStore *HistoryFileReader::store() const
{
    struct stat file {};
    if (::stat(QFile::encodeName(m_path).constData(), &file) != 0) {
        m_store.reset();
        return nullptr;
    }
    // Opening costs far more than a read, so the store stays open while the file is the same.
    if (!m_store || !m_store->isOpen() || file.st_dev != m_device || file.st_ino != m_inode) {
        m_store = std::make_unique<HistoryStore>(m_path, HistoryStore::Mode::Read);
        m_device = file.st_dev;
        m_inode = file.st_ino;
    }
    return m_store.get();
}

std::vector<UsagePeriod> HistoryFileReader::periods(HistoryGranularity granularity, int64_t fromUtc,
                                                    int64_t toUtc) const
{
    const HistoryStore *opened = store();
    return opened ? opened->periods(granularity, fromUtc, toUtc) : std::vector<UsagePeriod>{};
}

std::vector<HostUsage> HistoryFileReader::hosts(int64_t fromUtc, int64_t toUtc) const
{
    const HistoryStore *opened = store();
    return opened ? opened->hosts(fromUtc, toUtc) : std::vector<HostUsage>{};
}

std::vector<BucketCorrection> HistoryFileReader::corrections() const
{
    const HistoryStore *opened = store();
    return opened ? opened->corrections() : std::vector<BucketCorrection>{};
}
