// A year of the usage history: fills a store with a minute for every minute of 365 days (HOSTS
// LAN hosts each, three unless told), then reports the file's size, the time the fill took per
// minute, and the time of one minute's transaction as the program writes it. One JSON object on
// standard output. The store is left at PATH when one is given, for the readers' benchmarks.
//
//     bench_historyyear [HOSTS [PATH]]
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
    const QStringList arguments = application.arguments();
    const int hosts = arguments.size() > 1 ? arguments[1].toInt() : 3;
    QTemporaryDir folder;
    const QString path = arguments.size() > 2 ? arguments[2] : folder.filePath(QStringLiteral("tarvo-history.sqlite"));
    if (hosts < 1 || QFileInfo::exists(path))
        return 2;
    const int64_t start = 1767225600; // 2026-01-01 00:00 UTC
    constexpr int kDays = 365;

    QElapsedTimer fill;
    fill.start();
    if (!fillHistory(path, start, kDays, hosts))
        return 1;
    const double fillNsPerMinute = double(fill.nsecsElapsed()) / (kDays * 1440.0);

    // The program's writes: one minute, one transaction, on a store a year old.
    std::vector<uint32_t> addresses;
    for (int i = 0; i < hosts; ++i)
        addresses.push_back(0xC0A80101u + uint32_t(i));
    std::vector<qint64> single;
    {
        HistoryStore store(path);
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer one;
            one.start();
            if (!store.write({sampleMinute(start + (int64_t(kDays) * 1440 + i) * 60, 1000000, 0, addresses)}))
                return 1;
            single.push_back(one.nsecsElapsed());
        }
    }
    std::sort(single.begin(), single.end());
    std::printf("{\"days\": %d, \"hosts\": %d, \"file_bytes\": %lld, \"fill_ns_per_minute\": %.0f, \"minute_write_median_us\": %.1f, "
                "\"minute_write_p99_us\": %.1f}\n",
                kDays, hosts, static_cast<long long>(QFileInfo(path).size()), fillNsPerMinute,
                double(single[single.size() / 2]) / 1000.0, double(single[single.size() * 99 / 100]) / 1000.0);
    return 0;
}
