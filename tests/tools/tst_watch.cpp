#include "history/historystore.h"
#include "meter/oledate.h"
#include "support/csvfield.h"
#include "support/udpsocket.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

// tarvo-cli watch on the loopback device while the test sends datagrams from 127.0.0.6 to
// 127.0.0.5 (on the LAN list of the settings file): its last line holds exactly what was sent.
// The addresses are the test's own, so the live capture test may run beside it.
class TestWatch : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void countsWhatWasSent_data()
    {
        QTest::addColumn<bool>("bySignal");
        QTest::newRow("--seconds 3") << false;
        QTest::newRow("SIGTERM") << true;
    }

    void countsWhatWasSent()
    {
        QFETCH(bool, bySignal);
        if (::geteuid() != 0)
            QSKIP("live capture needs root (CAP_NET_RAW and CAP_NET_ADMIN); run the tests as root");

        // A bucket of 10 MB saved 1000 s ago: the watch starts from it drained by 1000 s of 4 KB/s.
        constexpr int32_t savedBytes = 10000000;
        const double savedAt = oleDate(QDateTime::currentDateTime().addSecs(-1000));
        const QString ini = dir.filePath(QStringLiteral("tarvo.ini"));
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[System]\nuse192=0\nlanIPCount=1\nfapbytes=%1\nlastshut=%2\n"
                                  "[LANIPS]\nIP0=127.0.0.5\n")
                       .arg(savedBytes)
                       .arg(savedAt, 0, 'f', 10)
                       .toLatin1());
        file.close();

        QProcess watch;
        // The run's minutes (at most the one under way and the one before) go into a history.
        const QString history = dir.filePath(QStringLiteral("history-%1.sqlite").arg(bySignal));
        QStringList arguments{QStringLiteral("watch"), QStringLiteral("lo"), QStringLiteral("--ini"), ini,
                              QStringLiteral("--history"), history};
        if (!bySignal)
            arguments += {QStringLiteral("--seconds"), QStringLiteral("3")};
        watch.start(QStringLiteral(TARVO_CLI), arguments);
        // The first line comes with the first tick, after the adapter has been opened.
        QVERIFY(watch.waitForReadyRead(10000));

        constexpr int datagrams = 40;
        constexpr int payload = 200;
        const LoopbackDatagrams traffic("127.0.0.6", "127.0.0.5");
        QVERIFY(traffic.send(datagrams, payload));
        if (bySignal) {
            QTest::qWait(300);
            watch.terminate();
        }
        QVERIFY(watch.waitForFinished(15000));
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
        QCOMPARE(watch.readAllStandardError(), QByteArray());

        const QList<QByteArray> lines = watch.readAllStandardOutput().trimmed().split('\n');
        QVERIFY(lines.size() >= 2);
        if (!bySignal)
            QCOMPARE(lines.size(), 4);
        const QByteArray &header = lines.first();
        const QByteArray &last = lines.last();
        QVERIFY(header.endsWith(",captured,dropped"));
        constexpr qint64 wireLength = payload + 8 + 20 + 14;
        QCOMPARE(field(header, last, "packets_received").toLongLong(), qint64(datagrams));
        QCOMPARE(field(header, last, "downloaded_total").toLongLong(), datagrams * wireLength);
        QCOMPARE(field(header, last, "dropped"), QByteArray("0"));
        QVERIFY(field(header, last, "captured").toLongLong() >= datagrams);
        // Drained by the time since the save and by the run's seconds; a few seconds of leeway
        // for the start of the process.
        const qint64 used = field(header, last, "used").toLongLong();
        QVERIFY2(used <= savedBytes - 1000 * 4096 + datagrams * wireLength && used >= savedBytes - 1020 * 4096,
                 last.constData());

        const HistoryStore store(history, HistoryStore::Mode::Read);
        QVERIFY2(store.isOpen(), qPrintable(store.error()));
        qint64 recorded = 0;
        for (const UsagePeriod &minute : store.periods(HistoryGranularity::Minute, INT64_MIN, INT64_MAX))
            recorded += minute.downloadBytes;
        QCOMPARE(recorded, datagrams * wireLength);
        const auto hosts = store.hosts(INT64_MIN, INT64_MAX);
        QCOMPARE(hosts.size(), size_t(1));
        QCOMPARE(hosts[0].address, HostAddress::fromIpv4(0x7F000005u));
        QCOMPARE(hosts[0].downloadBytes, datagrams * wireLength);
    }

    // With --alerts the settings' alert commands run at the watch's alerts: a bucket above the
    // throttle limit is "throttled" at the first tick, which drains one second's recharge.
    void alertCommands_data()
    {
        QTest::addColumn<bool>("alerts");
        QTest::addColumn<QByteArray>("body");     // of the command's script
        QTest::addColumn<QByteArray>("written");  // what the script wrote; empty: it did not run
        QTest::addColumn<QByteArray>("error");    // standard error
        QTest::newRow("environment") << true << QByteArray("echo \"$TARVO_ALERT $TARVO_LEVEL_BYTES $TARVO_PERCENT\" > \"$1\"")
                                     << QByteArray("throttled 1995904 199\n") << QByteArray();
        QTest::newRow("without --alerts") << false << QByteArray("echo ran > \"$1\"") << QByteArray() << QByteArray();
        QTest::newRow("failure") << true << QByteArray("echo 'no mail server'; exit 4") << QByteArray()
                                 << QByteArray(" ended with exit status 4. Output: no mail server\n");
    }

    void alertCommands()
    {
        QFETCH(bool, alerts);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, error);
        if (::geteuid() != 0)
            QSKIP("live capture needs root (CAP_NET_RAW and CAP_NET_ADMIN); run the tests as root");

        const QString script = dir.filePath(QStringLiteral("on alert"));
        const QString output = dir.filePath(QStringLiteral("alert output"));
        QFile::remove(output);
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("#!/bin/sh\n" + body + '\n');
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString ini = dir.filePath(QStringLiteral("alerts.ini"));
        QFile settings(ini);
        QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(QStringLiteral("[System]\ntsht=1000000\nfapbytes=2000000\n[Alerts]\nThrottledCommand=\"%1\" \"%2\"\n")
                           .arg(script, output)
                           .toUtf8());
        settings.close();

        QProcess watch;
        QStringList arguments{QStringLiteral("watch"), QStringLiteral("lo"), QStringLiteral("--ini"), ini,
                              QStringLiteral("--seconds"), QStringLiteral("2")};
        if (alerts)
            arguments.append(QStringLiteral("--alerts"));
        watch.start(QStringLiteral(TARVO_CLI), arguments);
        QVERIFY(watch.waitForFinished(15000));
        const QByteArray standardError = watch.readAllStandardError();
        QCOMPARE(watch.exitCode(), 0);
        if (error.isEmpty())
            QCOMPARE(standardError, QByteArray());
        else
            QVERIFY2(standardError.startsWith("tarvo-cli: Alert command ") && standardError.endsWith(error)
                         && standardError.count('\n') == 1,
                     standardError.constData());
        QFile result(output);
        QCOMPARE(result.open(QIODevice::ReadOnly), !written.isEmpty());
        if (result.isOpen())
            QCOMPARE(result.readAll(), written);
    }

    void missingInterface()
    {
        QProcess watch;
        watch.start(QStringLiteral(TARVO_CLI), {QStringLiteral("watch"), QStringLiteral("tarvo-none0")});
        QVERIFY(watch.waitForFinished(15000));
        QCOMPARE(watch.exitCode(), 2);
        QCOMPARE(watch.readAllStandardOutput(), QByteArray());
        const QByteArray error = watch.readAllStandardError();
        QVERIFY2(error.startsWith("tarvo-cli: ") && error.count('\n') == 1 && error.endsWith('\n'), error.constData());
    }
};

QTEST_GUILESS_MAIN(TestWatch)
#include "tst_watch.moc"
