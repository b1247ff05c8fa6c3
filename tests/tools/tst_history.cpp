#include "history/historystore.h"

#include "support/historyfill.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

namespace {

struct Run
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

Run run(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TARVO_CLI), arguments);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

int64_t utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toSecsSinceEpoch();
}

} // namespace

// `tarvo-cli history` on a store the test fills, against the lines it must print. The periods
// cross the night Berlin's clocks go back, so two hours start at 02:00 local time.
class TestHistoryCommand : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString path;

    Run history(QStringList arguments)
    {
        return run(QStringList{QStringLiteral("history"), QStringLiteral("--db"), path} + arguments);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The store's local days and the command's local times, both in Berlin.
        qputenv("TZ", "Europe/Berlin");
        tzset();
        path = folder.filePath(QStringLiteral("tarvo-history.sqlite"));
        HistoryStore store(path);
        FinishedMinute throttled = sampleMinute(utc("2026-10-25T01:30:00Z"), 2000, 70000000,
                                                {0xC0A80101u, 0x0A000002u});
        throttled.period.worstRestriction = Restriction::Throttled;
        throttled.period.droppedFrames = 3;
        QVERIFY(store.write({sampleMinute(utc("2026-10-25T00:30:00Z"), 1000, 60000000, {0xC0A80101u}), throttled,
                             sampleMinute(utc("2026-10-26T09:00:00Z"), 500, 12345, {0x0A000002u})}));
    }

    void output_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray header = "start,download_bytes,upload_bytes,download_packets,upload_packets,level_bytes,"
                                  "cutoff_limit_bytes,throttle_limit_bytes,worst_restriction,dropped_frames\n";
        QTest::newRow("hours") << QStringList{QStringLiteral("--by"), QStringLiteral("hour")}
                               << header + "2026-10-25T02:00:00+02:00,1000,100,1,0,60000000,96888422,64592281,none,0\n"
                                           "2026-10-25T02:00:00+01:00,2000,200,2,0,70000000,96888422,64592281,THROTTLED,3\n"
                                           "2026-10-26T10:00:00+01:00,500,50,0,0,12345,96888422,64592281,none,0\n";
        QTest::newRow("days by default") << QStringList()
                                         << header + "2026-10-25T00:00:00+02:00,3000,300,3,0,70000000,96888422,64592281,THROTTLED,3\n"
                                                     "2026-10-26T00:00:00+01:00,500,50,0,0,12345,96888422,64592281,none,0\n";
        QTest::newRow("minutes from a local time")
            << QStringList{QStringLiteral("--by"), QStringLiteral("minute"), QStringLiteral("--from"),
                           QStringLiteral("2026-10-26T10:00")}
            << header + "2026-10-26T10:00:00+01:00,500,50,0,0,12345,96888422,64592281,none,0\n";
        QTest::newRow("json") << QStringList{QStringLiteral("--json"), QStringLiteral("--to"), QStringLiteral("2026-10-25")}
                              << QByteArray("{\"start\":\"2026-10-25T00:00:00+02:00\",\"download_bytes\":3000,"
                                            "\"upload_bytes\":300,\"download_packets\":3,\"upload_packets\":0,"
                                            "\"level_bytes\":70000000,\"cutoff_limit_bytes\":96888422,"
                                            "\"throttle_limit_bytes\":64592281,\"worst_restriction\":\"THROTTLED\","
                                            "\"dropped_frames\":3}\n");
        QTest::newRow("hosts of a day")
            << QStringList{QStringLiteral("--hosts"), QStringLiteral("--from"), QStringLiteral("2026-10-25"),
                           QStringLiteral("--to"), QStringLiteral("2026-10-25")}
            << QByteArray("host,download_bytes\n192.168.1.1,2000\n10.0.0.2,1000\n");
        QTest::newRow("hosts as json") << QStringList{QStringLiteral("--hosts"), QStringLiteral("--json")}
                                       << QByteArray("{\"host\":\"192.168.1.1\",\"download_bytes\":2000}\n"
                                                     "{\"host\":\"10.0.0.2\",\"download_bytes\":1500}\n");
    }

    void output()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        const Run result = history(arguments);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, expected);
    }

    // An IPv6 host in its usual short text, beside an IPv4 one, in both forms of output.
    void ipv6Host_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("csv") << QStringList{QStringLiteral("--hosts")}
                             << QByteArray("host,download_bytes\n2001:db8:1::10,700\n192.168.1.5,300\n");
        QTest::newRow("json") << QStringList{QStringLiteral("--hosts"), QStringLiteral("--json")}
                              << QByteArray("{\"host\":\"2001:db8:1::10\",\"download_bytes\":700}\n"
                                            "{\"host\":\"192.168.1.5\",\"download_bytes\":300}\n");
    }

    void ipv6Host()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        const QString dualStack =
            folder.filePath(QStringLiteral("dual-stack-%1.sqlite").arg(QString::fromLatin1(QTest::currentDataTag())));
        {
            HistoryStore store(dualStack);
            FinishedMinute minute = sampleMinute(utc("2026-10-27T09:00:00Z"), 1000, 0, {0xC0A80105u});
            minute.hosts[0].downloadBytes = 300;
            minute.hosts.push_back({HostAddress{0x20010DB800010000ull, 0x10ull}, 700});
            QVERIFY(store.write({minute}));
        }
        const Run result = run(QStringList{QStringLiteral("history"), QStringLiteral("--db"), dualStack} + arguments);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, expected);
    }

    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown size") << QStringList{QStringLiteral("--by"), QStringLiteral("week")}
                                      << QByteArray("--by takes minute, hour or day, not \"week\"");
        QTest::newRow("bad date") << QStringList{QStringLiteral("--from"), QStringLiteral("25.10.2026")}
                                  << QByteArray("--from takes YYYY-MM-DD or YYYY-MM-DDTHH:MM");
        QTest::newRow("value missing") << QStringList{QStringLiteral("--to")} << QByteArray("option --to needs a value");
        QTest::newRow("no such store") << QStringList{QStringLiteral("--db"), QStringLiteral("/nonexistent/history.sqlite")}
                                       << QByteArray("/nonexistent/history.sqlite does not exist");
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const Run result = history(arguments);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.out, QByteArray());
        QVERIFY2(result.err.startsWith("tarvo-cli: ") && result.err.contains(message) && result.err.count('\n') == 1,
                 result.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestHistoryCommand)
#include "tst_history.moc"
