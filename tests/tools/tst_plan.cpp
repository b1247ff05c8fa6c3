#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A small plan: 10,000 bytes / s of recharge, throttled above 12 MB, cut off above 19 MB (a 20 MB
// limit); 11 MB in the bucket, saved at noon on 10 Dec 2026.
const char settings[] = "[System]\n"
                        "faprecharge=10000\n"
                        "fapmaxonp=20000000\n"
                        "tsht=12000000\n"
                        "fapbytes=11000000\n"
                        "lastshut=46366.5\n";

QStringList args(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list.append(QString::fromUtf8(text));
    return list;
}

} // namespace

class TestPlan : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    struct Run
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    Run run(QStringList arguments) const
    {
        for (QString &argument : arguments)
            argument.replace(QStringLiteral("{ini}"), dir.filePath(QStringLiteral("tarvo.ini")));
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TARVO_CLI), QStringList{QStringLiteral("plan")} + arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QFile file(dir.filePath(QStringLiteral("tarvo.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(settings) > 0);
    }

    // The plan in words, and the exit status that says whether it fits now.
    void plans_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("throttled, fits later")
            << args({"3000000", "--speed", "200000", "--ini", "{ini}", "--at", "2026-12-10T12:00"}) << 1
            << QByteArray("3,000,000 bytes at 200,000 bytes / s, from 2026-12-10 12:00:00 with 11,000,000 bytes in "
                          "the bucket (throttle limit 12,000,000):\n"
                          "Throttled in 00:00:06, at 12:00:06.\n"
                          "It will not be cut off.\n"
                          "Done in 00:00:15, at 12:00:15.\n"
                          "Restriction \"none\" again in 00:03:20, at 12:03:20.\n"
                          "It fits if started in 00:03:05, at 12:03:05.\n");
        // Five seconds after the save the bucket has drained 50,000 bytes; without a speed the
        // whole 2.5 MB comes at once.
        QTest::newRow("all at once, later")
            << args({"2.5MB", "--ini", "{ini}", "--at", "2026-12-10T12:00:05"}) << 1
            << QByteArray("2,621,440 bytes all at once, from 2026-12-10 12:00:05 with 10,950,000 bytes in the "
                          "bucket (throttle limit 12,000,000):\n"
                          "Throttled in 00:00:01, at 12:00:06.\n"
                          "It will not be cut off.\n"
                          "Done in 00:00:01, at 12:00:06.\n"
                          "Restriction \"none\" again in 00:02:38, at 12:02:43.\n"
                          "It fits if started in 00:02:37, at 12:02:42.\n");
        QTest::newRow("slower than the recharge")
            << args({"100KB", "--speed", "1KB", "--ini", "{ini}", "--at", "2026-12-10T12:00"}) << 0
            << QByteArray("102,400 bytes at 1,024 bytes / s, from 2026-12-10 12:00:00 with 11,000,000 bytes in the "
                          "bucket (throttle limit 12,000,000):\n"
                          "It will not be throttled.\n"
                          "It will not be cut off.\n"
                          "Done in 00:01:40, at 12:01:40.\n"
                          "It fits now: it stays below the throttle limit all the way.\n");
        // Never throttled, yet no start fits: it cannot be done within the week looked at.
        QTest::newRow("longer than a week")
            << args({"500MB", "--speed", "2", "--ini", "{ini}", "--at", "2026-12-10T12:00"}) << 1
            << QByteArray("524,288,000 bytes at 2 bytes / s, from 2026-12-10 12:00:00 with 11,000,000 bytes in the "
                          "bucket (throttle limit 12,000,000):\n"
                          "It will not be throttled.\n"
                          "It will not be cut off.\n"
                          "Not done within 7 days.\n"
                          "No start within the next 7 days sees it done below the throttle limit.\n");
        // Twelve hours after the save the bucket is empty, yet 25 MB at 1 MB/s passes the throttle
        // limit on its way; it is cut off once and done the next day.
        QTest::newRow("never fits")
            << args({"25000000", "--speed", "1000000", "--ini", "{ini}", "--at", "2026-12-10T23:59"}) << 1
            << QByteArray("25,000,000 bytes at 1,000,000 bytes / s, from 2026-12-10 23:59:00 with 0 bytes in the "
                          "bucket (throttle limit 12,000,000):\n"
                          "Throttled in 00:00:13, at 23:59:13.\n"
                          "Cut off in 00:00:20, at 23:59:20.\n"
                          "Done in 00:08:26, at Fri 11 Dec 00:07:26.\n"
                          "Restriction \"none\" again in 00:21:40, at Fri 11 Dec 00:20:40.\n"
                          "No start within the next 7 days sees it done below the throttle limit.\n");
    }

    void plans()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        const Run result = run(arguments);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.out, out);
        QCOMPARE(result.exitCode, exitCode);
    }

    // Bad input: one line on standard error, nothing on standard output, exit status 2.
    void errors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no size") << args({"--speed", "1000"}) << QByteArray("no size given (--speed took \"1000\" as its value)");
        QTest::newRow("unknown unit") << args({"3XB"})
            << QByteArray("the size needs a number of bytes above 0 with an optional unit (such as 3GB or 500MB), "
                          "not \"3XB\"");
        QTest::newRow("zero size") << args({"0MB"})
            << QByteArray("the size needs a number of bytes above 0 with an optional unit (such as 3GB or 500MB), "
                          "not \"0MB\"");
        QTest::newRow("negative size") << args({"-5"}) << QByteArray("unknown option -5");
        QTest::newRow("two sizes") << args({"1GB", "2GB"}) << QByteArray("more than one size: 2GB");
        QTest::newRow("zero speed") << args({"1GB", "--speed", "0"})
            << QByteArray("--speed needs bytes per second above 0 (such as 500000 or 2MB), not \"0\"");
        QTest::newRow("speed without value") << args({"1GB", "--speed"})
            << QByteArray("option --speed needs a value");
        QTest::newRow("bad time") << args({"1GB", "--at", "25:00"})
            << QByteArray("--at needs HH:MM today or YYYY-MM-DDTHH:MM, not \"25:00\"");
        QTest::newRow("before the save") << args({"1GB", "--ini", "{ini}", "--at", "2026-12-09T12:00"})
            << QByteArray("--at 2026-12-09T12:00:00 lies before the bucket was saved (2026-12-10T12:00:00)");
        QTest::newRow("missing settings file") << args({"1GB", "--ini", "/nonexistent/tarvo.ini"})
            << QByteArray("cannot read settings file /nonexistent/tarvo.ini: No such file or directory");
    }

    void errors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        const Run result = run(arguments);
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.err, "tarvo-cli: " + message + '\n');
        QCOMPARE(result.exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestPlan)
#include "tst_plan.moc"
