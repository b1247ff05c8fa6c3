// Opening the history window: the reads from the file, the charts and the host table built,
// the window shown and painted once. On a store holding a year of minutes, as the program writes
// them, beside the same window on an empty history (Google Benchmark, the window opened again
// and again in one process).
//
//     bench_historywindow --first PATH
//
// opens it once on the store at PATH (none there: an empty history) in this fresh process, as a
// user first opens it from the program's window, and prints the time from the reader's creation
// to the first painting: {"wall_ms": ..., "cpu_ms": ...} (CPU of this thread). The store is one
// bench_historyyear left.

#include "history/historyfilereader.h"
#include "ui/history/historywindow.h"

#include "support/controls.h"
#include "support/fakehistory.h"
#include "support/historyfill.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));

// Opens the window, paints the first tab (or every tab), closes it.
void open(benchmark::State &state, const UsageHistoryReader &history, bool everyTab)
{
    for (auto _ : state) {
        HistoryWindow window(history, now);
        QTabWidget *tabs = findControl<QTabWidget>(window, QStringLiteral("historyTabs"));
        window.show();
        for (int tab = 0; tab < (everyTab ? tabs->count() : 1); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            benchmark::DoNotOptimize(window.grab());
        }
    }
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The first opening in this process, on the store bench_historyyear fills (2026, to its last day).
int openFirst(const QString &path)
{
    // The program's own window is up when the user opens the history: the fonts and the platform
    // are ready, the history window's libraries and store are not.
    QLabel programWindow(QStringLiteral("Tarvo"));
    programWindow.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(programWindow.grab());
    const double cpu = threadCpuMs();
    QElapsedTimer wall;
    wall.start();
    const HistoryFileReader reader(path);
    HistoryWindow window(reader, QDateTime(QDate(2026, 12, 31), QTime(12, 0)));
    window.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.grab());
    std::printf("{\"wall_ms\": %.2f, \"cpu_ms\": %.2f}\n", double(wall.nsecsElapsed()) / 1e6, threadCpuMs() - cpu);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--first") == 0)
        return openFirst(QString::fromLocal8Bit(argv[2]));
    const FakeHistory empty;
    // Every minute of the year before now, eight LAN hosts each; the store keeps what its
    // retention keeps (minutes of the last 7 days, hours and days of the year).
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("tarvo-history.sqlite"));
    constexpr int kDays = 365;
    if (!fillHistory(path, now.toSecsSinceEpoch() - int64_t(kDays) * 86400, kDays, 8))
        return 1;
    const HistoryFileReader year(path); // as the program reads it
    for (const bool everyTab : {false, true}) {
        const char *what = everyTab ? "every_tab" : "open";
        benchmark::RegisterBenchmark((std::string(what) + "/empty").c_str(),
                                     [&empty, everyTab](benchmark::State &state) { open(state, empty, everyTab); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string(what) + "/year").c_str(),
                                     [&year, everyTab](benchmark::State &state) { open(state, year, everyTab); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
