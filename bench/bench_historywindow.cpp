// Opening the history window: the reads through the reader, the charts and the host table built,
// the window shown and painted once. On a year of history beside the same on an empty one.

#include "ui/history/historywindow.h"

#include "support/fakehistory.h"

#include <QApplication>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));

// Opens the window, paints the first tab (or every tab), closes it.
void open(benchmark::State &state, const FakeHistory &history, bool everyTab)
{
    for (auto _ : state) {
        HistoryWindow window(history, now);
        window.show();
        for (int tab = 0; tab < (everyTab ? window.tabs->count() : 1); ++tab) {
            window.tabs->setCurrentIndex(tab);
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
    static const FakeHistory empty;
    static const FakeHistory year = FakeHistory::filled(now, 365, 8);
    for (const bool everyTab : {false, true}) {
        const char *what = everyTab ? "every_tab" : "open";
        benchmark::RegisterBenchmark((std::string(what) + "/empty").c_str(),
                                     [everyTab](benchmark::State &state) { open(state, empty, everyTab); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string(what) + "/year").c_str(),
                                     [everyTab](benchmark::State &state) { open(state, year, everyTab); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
