#pragma once

#include "programs/programattribution.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>

#include <array>
#include <optional>

// The spans a program's use is summed over.
enum class ProgramPeriod { LastMinute, LastHour, Today, SinceEmpty };

// Each row's share of the rows' download, in per cent; 0 for every row when none downloaded.
QList<double> downloadShares(const QList<ProgramBytes> &rows);

// Each program's download and upload of the last minute, the last hour, today and since the
// bucket was last empty, in memory. The tick hands it what the attribution took, with the
// moment and whether the bucket is empty; the spans follow the clock, so a missed tick loses no
// second and a stale one counts no more.
class ProgramUsage
{
public:
    void tick(const QDateTime &now, bool bucketEmpty, const QList<ProgramBytes> &taken);

    // The programs with bytes in `period`, the most downloaded first.
    QList<ProgramBytes> rows(ProgramPeriod period) const;
    // The program that downloaded most in `period`, not counting what was not attributed; none
    // when no program downloaded.
    std::optional<ProgramBytes> top(ProgramPeriod period) const;

private:
    using Totals = QHash<int, std::pair<uint64_t, uint64_t>>; // by program
    struct Slot
    {
        int64_t stamp = -1; // the second or minute it holds
        Totals totals;
    };
    static void add(Totals &totals, int program, uint64_t download, uint64_t upload);
    static void sum(Totals &into, const Totals &from);
    int indexOf(const ProgramInfo &program);
    Totals totalsOf(ProgramPeriod period) const;

    QList<ProgramInfo> m_programs;
    QHash<QString, int> m_index;
    std::array<Slot, 60> m_seconds;
    std::array<Slot, 60> m_minutes;
    int64_t m_now = 0; // seconds since the epoch, of the last tick
    QDate m_today;
    Totals m_todayTotals;
    Totals m_sinceEmpty;
};
