// Opening the history window: the reads from the file, the charts and the host table built,
// the window shown and painted once. On a store holding a year of minutes, as the program writes
// them, beside the same window on an empty history.

#include "history/historyfilereader.h"
#include "ui/history/historywindow.h"

#include "support/controls.h"
#include "support/fakehistory.h"
#include "support/historyfill.h"

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
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
