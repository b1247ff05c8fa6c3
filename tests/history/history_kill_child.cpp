// history_kill_child STORE: writes minutes into the store, one transaction each, from the minute
// after the last one stored, and prints each minute's number once it is committed, until killed.
#include "history/historystore.h"

#include "support/historyfill.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    HistoryStore store(QString::fromLocal8Bit(argv[1]));
    // A killed writer must leave a store that opens as it is.
    if (const QString moved = store.takeMovedAsideMessage(); !store.isOpen() || !moved.isEmpty()) {
        std::fprintf(stderr, "%s%s\n", qPrintable(store.error()), qPrintable(moved));
        return 1;
    }
    for (int64_t minute = int64_t(store.periods(HistoryGranularity::Minute, INT64_MIN, INT64_MAX).size());; ++minute) {
        if (!store.write({sampleMinute(minute * 60, minute + 1, 0, {0xC0A80001u, 0xC0A80002u})})) {
            std::fprintf(stderr, "%s\n", qPrintable(store.error()));
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(minute));
        std::fflush(stdout);
    }
}
