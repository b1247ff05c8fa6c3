#include "programs/programusage.h"

#include <algorithm>

QList<double> downloadShares(const QList<ProgramBytes> &rows)
{
    uint64_t total = 0;
    for (const ProgramBytes &row : rows)
        total += row.download;
    QList<double> shares;
    shares.reserve(rows.size());
    for (const ProgramBytes &row : rows)
        shares.append(total == 0 ? 0.0 : 100.0 * double(row.download) / double(total));
    return shares;
}

void ProgramUsage::add(Totals &totals, int program, uint64_t download, uint64_t upload)
{
    auto &[down, up] = totals[program];
    down += download;
    up += upload;
}

void ProgramUsage::sum(Totals &into, const Totals &from)
{
    for (auto it = from.cbegin(); it != from.cend(); ++it)
        add(into, it.key(), it.value().first, it.value().second);
}

int ProgramUsage::indexOf(const ProgramInfo &program)
{
    if (const auto found = m_index.constFind(program.id); found != m_index.cend())
        return *found;
    m_programs.append(program);
    m_index.insert(program.id, int(m_programs.size() - 1));
    return int(m_programs.size() - 1);
}

void ProgramUsage::tick(const QDateTime &now, bool bucketEmpty, const QList<ProgramBytes> &taken)
{
    m_now = now.toSecsSinceEpoch();
    const QDate today = now.date();
    if (today != m_today) {
        m_today = today;
        m_todayTotals.clear();
    }
    // Emptied now: what came before no longer fills the bucket.
    if (bucketEmpty)
        m_sinceEmpty.clear();
    Slot &second = m_seconds[size_t(m_now % 60)];
    Slot &minute = m_minutes[size_t(m_now / 60 % 60)];
    for (Slot *slot : {&second, &minute}) {
        const int64_t stamp = slot == &second ? m_now : m_now / 60;
        if (slot->stamp != stamp) {
            slot->stamp = stamp;
            slot->totals.clear();
        }
    }
    for (const ProgramBytes &bytes : taken) {
        const int program = indexOf(bytes.program);
        for (Totals *totals : {&second.totals, &minute.totals, &m_todayTotals, &m_sinceEmpty})
            add(*totals, program, bytes.download, bytes.upload);
    }
}

ProgramUsage::Totals ProgramUsage::totalsOf(ProgramPeriod period) const
{
    Totals totals;
    switch (period) {
    case ProgramPeriod::LastMinute:
        for (const Slot &slot : m_seconds)
            if (slot.stamp > m_now - 60)
                sum(totals, slot.totals);
        break;
    case ProgramPeriod::LastHour:
        for (const Slot &slot : m_minutes)
            if (slot.stamp > m_now / 60 - 60)
                sum(totals, slot.totals);
        break;
    case ProgramPeriod::Today:
        totals = m_todayTotals;
        break;
    case ProgramPeriod::SinceEmpty:
        totals = m_sinceEmpty;
        break;
    }
    return totals;
}

QList<ProgramBytes> ProgramUsage::rows(ProgramPeriod period) const
{
    const Totals totals = totalsOf(period);
    QList<ProgramBytes> rows;
    rows.reserve(totals.size());
    for (auto it = totals.cbegin(); it != totals.cend(); ++it)
        rows.append({m_programs[it.key()], it.value().first, it.value().second});
    std::sort(rows.begin(), rows.end(), [](const ProgramBytes &a, const ProgramBytes &b) {
        return a.download != b.download ? a.download > b.download : a.program.name < b.program.name;
    });
    return rows;
}

std::optional<ProgramBytes> ProgramUsage::top(ProgramPeriod period) const
{
    const QString unattributed = ProgramAttribution::notAttributed().id;
    for (const ProgramBytes &row : rows(period))
        if (row.download > 0 && row.program.id != unattributed)
            return row;
    return std::nullopt;
}
