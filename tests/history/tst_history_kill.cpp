#include "history/historystore.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// A writer killed at random moments leaves a store that opens as it is and holds every minute
// it had committed, each once.
class TestHistoryKill : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedWriterLosesNoFinishedMinute()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("tarvo-history.sqlite"));
        QRandomGenerator random(15);
        int64_t committed = -1;
        for (int round = 0; round < 12; ++round) {
            QProcess child;
            child.start(QStringLiteral(HISTORY_KILL_CHILD), {path});
            QVERIFY(child.waitForStarted());
            // Let it write for a while, then kill it wherever it is.
            QVERIFY(child.waitForReadyRead(20000));
            QTest::qWait(int(random.bounded(5, 120)));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished());
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
            QVERIFY2(child.readAllStandardError().isEmpty(), "the child failed");
            committed = std::max<int64_t>(committed, lines.last().toLongLong());

            const HistoryStore store(path, HistoryStore::Mode::Read);
            QVERIFY2(store.isOpen(), qPrintable(store.error()));
            const auto minutes = store.periods(HistoryGranularity::Minute, INT64_MIN, INT64_MAX);
            QVERIFY(int64_t(minutes.size()) >= committed + 1);
            for (size_t i = 0; i < minutes.size(); ++i) {
                QCOMPARE(minutes[i].startUtc, int64_t(i) * 60);
                QCOMPARE(minutes[i].downloadBytes, int64_t(i) + 1);
            }
            int64_t hours = 0;
            for (const UsagePeriod &hour : store.periods(HistoryGranularity::Hour, INT64_MIN, INT64_MAX))
                hours += hour.downloadBytes;
            const int64_t count = int64_t(minutes.size());
            QCOMPARE(hours, count * (count + 1) / 2);
            int64_t hostBytes = 0;
            for (const HostUsage &host : store.hosts(INT64_MIN, INT64_MAX))
                hostBytes += host.downloadBytes;
            QCOMPARE(hostBytes, hours);
        }
    }
};

QTEST_GUILESS_MAIN(TestHistoryKill)
#include "tst_history_kill.moc"
