#include "ui/history/usagebars.h"

#include <QDateTime>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int64_t hour = 3600;
constexpr int64_t day = 86400;

int64_t startOfDay(QDate date)
{
    return date.startOfDay().toSecsSinceEpoch();
}

QDateTime localTime(int64_t utc)
{
    return QDateTime::fromSecsSinceEpoch(utc);
}

// The offset from UTC as a second line of a label ("+2", "-3:30"): short enough for the narrow
// bars of a day, where the zone's abbreviation would be cut.
QString offsetLine(int64_t utc)
{
    const int offset = localTime(utc).offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    QString text = QStringLiteral("<br>%1%2").arg(QChar(offset < 0 ? u'-' : u'+')).arg(minutes / 60);
    if (minutes % 60 != 0)
        text += QStringLiteral(":%1").arg(minutes % 60, 2, 10, QLatin1Char('0'));
    return text;
}

// The bar that holds the moment `utc`; bars are in order and next to each other.
UsageBar *barAt(std::vector<UsageBar> &bars, int64_t utc)
{
    auto found = std::upper_bound(bars.begin(), bars.end(), utc,
                                  [](int64_t at, const UsageBar &bar) { return at < bar.startUtc; });
    if (found == bars.begin())
        return nullptr;
    --found;
    return utc < found->endUtc ? &*found : nullptr;
}

void add(UsageBar &bar, const UsagePeriod &period)
{
    bar.downloadBytes += period.downloadBytes;
    bar.uploadBytes += period.uploadBytes;
    bar.recorded = true;
}

} // namespace

UtcSpan localDays(QDate first, QDate last)
{
    return {startOfDay(first), startOfDay(last.addDays(1))};
}

std::vector<UsageBar> hourBars(const UsageHistoryReader &reader, QDate date)
{
    const UtcSpan span = localDays(date, date);
    std::vector<UsageBar> bars;
    for (int64_t start = span.fromUtc; start < span.toUtc; start += hour) {
        const int hourOfDay = localTime(start).time().hour();
        bars.push_back({QStringLiteral("%1").arg(hourOfDay, 2, 10, QLatin1Char('0')), start,
                        std::min(start + hour, span.toUtc), 0, 0, false});
    }
    // The hour the clocks go back shows twice: each carries its offset, so the two stay apart.
    for (size_t i = 1; i < bars.size(); ++i) {
        if (bars[i].label == bars[i - 1].label) {
            for (UsageBar *bar : {&bars[i - 1], &bars[i]}) {
                bar->label += offsetLine(bar->startUtc);
                bar->repeatedHour = true;
            }
        }
    }
    for (const UsagePeriod &period : reader.periods(HistoryGranularity::Hour, span.fromUtc, span.toUtc)) {
        if (UsageBar *bar = barAt(bars, period.startUtc))
            add(*bar, period);
    }
    return bars;
}

std::vector<UsageBar> dayBars(const UsageHistoryReader &reader, QDate month)
{
    const QDate first(month.year(), month.month(), 1);
    const QDate last = first.addDays(first.daysInMonth() - 1);
    std::vector<UsageBar> bars;
    for (QDate date = first; date <= last; date = date.addDays(1)) {
        const UtcSpan span = localDays(date, date);
        bars.push_back({QString::number(date.day()), span.fromUtc, span.toUtc, 0, 0, false});
    }
    // A day's margin on each side: a UTC day may start before or after the local one.
    const UtcSpan span = localDays(first, last);
    for (const UsagePeriod &period : reader.periods(HistoryGranularity::Day, span.fromUtc - day, span.toUtc + day)) {
        if (UsageBar *bar = barAt(bars, period.startUtc + day / 2))
            add(*bar, period);
    }
    return bars;
}

std::vector<HostShare> hostShares(const std::vector<HostUsage> &hosts, int64_t periodDownloadBytes)
{
    int64_t total = 0;
    for (const HostUsage &host : hosts)
        total += host.downloadBytes;
    total = std::max(total, periodDownloadBytes);
    std::vector<HostShare> rows;
    rows.reserve(hosts.size());
    for (const HostUsage &host : hosts) {
        rows.push_back({host.address.toString(), host.downloadBytes,
                        total > 0 ? 100.0 * double(host.downloadBytes) / double(total) : 0.0});
    }
    return rows;
}

int64_t levelAxisStartUtc(int64_t nowUtc, int64_t spanSeconds, int64_t firstRecordedUtc)
{
    const int64_t earliest = nowUtc - spanSeconds;
    const int64_t latest = nowUtc - spanSeconds / 24;
    return std::clamp(firstRecordedUtc, earliest, latest);
}
