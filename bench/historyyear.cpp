// A year of the usage history: fills a store with a minute for every minute of 365 days (three
// LAN hosts each), then reports the file's size, the time the fill took per minute, and the time
// of one minute's transaction as the program writes it. One JSON object on standard output.
#include "history/historystore.h"

#include "support/historyfill.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tarvo-history.sqlite"));
    const int64_t start = 1767225600; // 2026-01-01 00:00 UTC
    constexpr int kDays = 365;

    QElapsedTimer fill;
    fill.start();
    if (!fillHistory(path, start, kDays))
        return 1;
    const double fillNsPerMinute = double(fill.nsecsElapsed()) / (kDays * 1440.0);

    // The program's writes: one minute, one transaction, on a store a year old.
    std::vector<qint64> single;
    {
        HistoryStore store(path);
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer one;
            one.start();
            if (!store.write({sampleMinute(start + (int64_t(kDays) * 1440 + i) * 60, 1000000, 0,
                                            {0xC0A80101u, 0xC0A80102u, 0xC0A80103u})}))
                return 1;
            single.push_back(one.nsecsElapsed());
        }
    }
    std::sort(single.begin(), single.end());
    std::printf("{\"days\": %d, \"file_bytes\": %lld, \"fill_ns_per_minute\": %.0f, \"minute_write_median_us\": %.1f, "
                "\"minute_write_p99_us\": %.1f}\n",
                kDays, static_cast<long long>(QFileInfo(path).size()), fillNsPerMinute,
                double(single[single.size() / 2]) / 1000.0, double(single[single.size() * 99 / 100]) / 1000.0);
    return 0;
}
