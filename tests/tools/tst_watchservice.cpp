#include "support/csvfield.h"
#include "support/stringlists.h"
#include "support/udpsocket.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The samples of a file in the Prometheus text format, by name and labels as written; or, when
// the file breaks a rule, what is wrong. Strict: every sample's metric has its HELP and TYPE
// lines before it, each once; a metric's samples stand together; names and labels are valid;
// values are numbers; no other line.
struct Metrics
{
    QMap<QString, double> samples;
    QString error;
};

Metrics parseMetrics(const QByteArray &text)
{
    static const QRegularExpression name(u"^[a-zA-Z_:][a-zA-Z0-9_:]*$"_s);
    static const QRegularExpression comment(u"^# (HELP|TYPE) ([^ ]+) (.+)$"_s);
    static const QRegularExpression sample(
        uR"(^([a-zA-Z_:][a-zA-Z0-9_:]*)(\{(?:[a-zA-Z_][a-zA-Z0-9_]*="(?:[^"\\\n]|\\[\\"n])*",?)*\})? ([^ ]+)$)"_s);
    static const QSet<QString> types{u"gauge"_s, u"counter"_s, u"histogram"_s, u"summary"_s, u"untyped"_s};
    Metrics metrics;
    if (!text.endsWith('\n'))
        return {{}, u"no line end at the end"_s};
    QSet<QString> helped, typed, finished;
    QString current;
    for (const QString &line : QString::fromUtf8(text).chopped(1).split(u'\n')) {
        if (const auto match = comment.match(line); match.hasMatch()) {
            const QString metric = match.captured(2);
            QSet<QString> &seen = match.captured(1) == u"HELP" ? helped : typed;
            if (!name.match(metric).hasMatch() || seen.contains(metric) || finished.contains(metric))
                return {{}, u"misplaced or repeated: "_s + line};
            if (match.captured(1) == u"TYPE" && !types.contains(match.captured(3)))
                return {{}, u"unknown type: "_s + line};
            seen.insert(metric);
        } else if (const auto match = sample.match(line); match.hasMatch()) {
            const QString metric = match.captured(1);
            if (!helped.contains(metric) || !typed.contains(metric) || finished.contains(metric))
                return {{}, u"a sample without its HELP and TYPE, or apart from its metric: "_s + line};
            if (metric != current && !current.isEmpty())
                finished.insert(current);
            current = metric;
            bool number = false;
            const double value = match.captured(3).toDouble(&number);
            if (!number)
                return {{}, u"no number: "_s + line};
            metrics.samples.insert(metric + match.captured(2), value);
        } else {
            return {{}, u"no valid line: "_s + line};
        }
    }
    return metrics;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// tarvo-cli watch as a service runs it: a line every few seconds, the metrics file, the status
// socket. The traffic goes from 127.0.0.10 to 127.0.0.9 on the loopback device, addresses no
// other test uses.
class TestWatchService : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void linesMetricsAndStatus()
    {
        if (::geteuid() != 0)
            QSKIP("live capture needs root (CAP_NET_RAW and CAP_NET_ADMIN); run the tests as root");
        const QString ini = dir.filePath(u"tarvo.ini"_s);
        QFile file(ini);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[System]\nuse192=0\nlanIPCount=1\n[LANIPS]\nIP0=127.0.0.9\n");
        file.close();
        const QString metricsFile = dir.filePath(u"metrics/tarvo.prom"_s);
        const QString socket = dir.filePath(u"status.socket"_s);
        QVERIFY(QDir(dir.path()).mkdir(u"metrics"_s));

        QProcess watch;
        watch.start(QStringLiteral(TARVO_CLI), QStringList{u"watch"_s, u"lo"_s, u"--ini"_s, ini, u"--every"_s, u"2"_s,
                                                           u"--seconds"_s, u"7"_s, u"--metrics-file"_s, metricsFile,
                                                           u"--status-socket"_s, socket});
        // The header and the first line come at the second tick.
        QVERIFY(watch.waitForReadyRead(10000));
        const QByteArray first = readAll(metricsFile);
        QVERIFY(parseMetrics(first).error.isEmpty());
        // A second name for the file written first: a writer that rewrote the file in place
        // would change it too.
        const QString kept = dir.filePath(u"kept.prom"_s);
        QCOMPARE(::link(QFile::encodeName(metricsFile).constData(), QFile::encodeName(kept).constData()), 0);

        constexpr int datagrams = 30;
        constexpr int payload = 300;
        const LoopbackDatagrams traffic("127.0.0.10", "127.0.0.9");
        QVERIFY(traffic.send(datagrams, payload));

        QProcess status;
        status.start(QStringLiteral(TARVO_CLI), {u"status"_s, u"--socket"_s, socket, u"--json"_s});
        QVERIFY(status.waitForFinished(10000));
        QCOMPARE(status.exitCode(), 0);
        const QJsonObject answer = QJsonDocument::fromJson(status.readAllStandardOutput()).object();
        QCOMPARE(answer.value(u"version"_s).toInt(), 1);
        QCOMPARE(answer.value(u"monitoring"_s).toBool(), true);
        QCOMPARE(answer.value(u"restriction"_s).toString(), u"none"_s);

        // Whenever a reader looks while the watch writes, it finds a whole file.
        int reads = 0;
        while (watch.state() != QProcess::NotRunning) {
            const QByteArray text = readAll(metricsFile);
            const Metrics metrics = parseMetrics(text);
            QVERIFY2(metrics.error.isEmpty(), qPrintable(metrics.error));
            ++reads;
            watch.waitForFinished(2);
        }
        QVERIFY(reads > 10);
        QCOMPARE(watch.exitCode(), 0);
        QCOMPARE(watch.readAllStandardError(), QByteArray());
        QCOMPARE(readAll(kept), first);
        // The socket goes with the watch; nothing but the file is left in its folder.
        QVERIFY(!QFile::exists(socket));
        QCOMPARE(QDir(dir.filePath(u"metrics"_s)).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{u"tarvo.prom"_s});

        // A line at ticks 2, 4 and 6, and the last at 7; their down columns sum to the total.
        const QList<QByteArray> lines = watch.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(lines.size(), 5);
        const QByteArray &header = lines.first();
        QList<QByteArray> ticks;
        qint64 down = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            ticks.append(field(header, lines[i], "tick"));
            down += field(header, lines[i], "down").toLongLong();
        }
        QCOMPARE(ticks, (QList<QByteArray>{"2", "4", "6", "7"}));
        constexpr qint64 wireLength = payload + 8 + 20 + 14;
        QCOMPARE(down, datagrams * wireLength);

        const Metrics last = parseMetrics(readAll(metricsFile));
        QVERIFY2(last.error.isEmpty(), qPrintable(last.error));
        for (auto it = last.samples.begin(); it != last.samples.end(); ++it)
            QVERIFY2(it.key().startsWith(u"tarvo_"_s) && it.key().contains(u"interface=\"lo\""_s), qPrintable(it.key()));
        QCOMPARE(last.samples.value(u"tarvo_download_bytes_total{interface=\"lo\"}"_s), double(datagrams * wireLength));
        QCOMPARE(last.samples.value(u"tarvo_download_packets_total{interface=\"lo\"}"_s), double(datagrams));
        QCOMPARE(last.samples.value(u"tarvo_bucket_bytes{interface=\"lo\"}"_s),
                 field(header, lines.last(), "used").toDouble());
        QCOMPARE(last.samples.value(u"tarvo_restriction{interface=\"lo\",restriction=\"none\"}"_s), 1.0);
        QCOMPARE(last.samples.value(u"tarvo_restriction{interface=\"lo\",restriction=\"cut_off\"}"_s), 0.0);
        QCOMPARE(last.samples.value(u"tarvo_host_download_bytes_total{interface=\"lo\",host=\"127.0.0.9\"}"_s),
                 double(datagrams * wireLength));
        QVERIFY(last.samples.contains(u"tarvo_dropped_frames_total{interface=\"lo\"}"_s));
    }

    // The parser itself: what it must refuse.
    void parserRefuses_data()
    {
        QTest::addColumn<QByteArray>("text");
        const QByteArray head = "# HELP tarvo_a A.\n# TYPE tarvo_a gauge\n";
        QTest::newRow("no HELP") << QByteArray("# TYPE tarvo_a gauge\ntarvo_a 1\n");
        QTest::newRow("no TYPE") << QByteArray("# HELP tarvo_a A.\ntarvo_a 1\n");
        QTest::newRow("half a line") << head + "tarvo_a{interface=\"l";
        QTest::newRow("no number") << head + "tarvo_a one\n";
        QTest::newRow("bad name") << QByteArray("# HELP 1a A.\n# TYPE 1a gauge\n1a 1\n");
        QTest::newRow("unclosed label") << head + "tarvo_a{host=\"x} 1\n";
        QTest::newRow("samples apart") << head + "tarvo_a 1\n# HELP tarvo_b B.\n# TYPE tarvo_b gauge\ntarvo_b 1\ntarvo_a 2\n";
        QTest::newRow("empty line") << head + "\ntarvo_a 1\n";
    }
    void parserRefuses()
    {
        QFETCH(QByteArray, text);
        QVERIFY(!parseMetrics(text).error.isEmpty());
        QVERIFY(parseMetrics("# HELP tarvo_a A.\n# TYPE tarvo_a gauge\ntarvo_a{host=\"a\\\"b\"} 1e3\n").error.isEmpty());
    }

    // What watch refuses before it captures: one line on standard error, exit status 2, and
    // a file at the socket's place left alone.
    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("error");
        QTest::newRow("--every 0") << strings({"--every", "0"}) << QByteArray("--every needs a whole number");
        QTest::newRow("--every x") << strings({"--every", "x"}) << QByteArray("--every needs a whole number");
        QTest::newRow("--metrics-file without a value") << strings({"--metrics-file"}) << QByteArray("needs a value");
        QTest::newRow("a file at the socket's place") << strings({"--status-socket", "{dir}/tarvo.ini"})
                                                     << QByteArray("is no socket");
        QTest::newRow("a socket in no folder") << strings({"--status-socket", "{dir}/none/status.socket"})
                                              << QByteArray("cannot listen");
    }
    void refused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, error);
        QFile ini(dir.filePath(u"tarvo.ini"_s));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[System]\n");
        ini.close();
        for (QString &argument : arguments)
            argument.replace(u"{dir}"_s, dir.path());
        QProcess watch;
        watch.start(QStringLiteral(TARVO_CLI), QStringList{u"watch"_s, u"lo"_s} + arguments);
        QVERIFY(watch.waitForFinished(15000));
        QCOMPARE(watch.exitCode(), 2);
        QCOMPARE(watch.readAllStandardOutput(), QByteArray());
        const QByteArray message = watch.readAllStandardError();
        QVERIFY2(message.startsWith("tarvo-cli: ") && message.contains(error) && message.count('\n') == 1,
                 message.constData());
        QCOMPARE(readAll(ini.fileName()), QByteArray("[System]\n"));
    }

    // The unit as systemd reads it, with the built program in place of the installed one.
    void unitVerifies()
    {
        QFile unit(QStringLiteral(TARVO_UNIT));
        QVERIFY(unit.open(QIODevice::ReadOnly));
        const QByteArray text = unit.readAll().replace("/usr/bin/tarvo-cli", TARVO_CLI);
        QFile copy(dir.filePath(u"tarvo-watch@.service"_s));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(text);
        copy.close();
        QProcess verify;
        verify.start(u"systemd-analyze"_s, {u"verify"_s, u"--man=no"_s, dir.filePath(u"tarvo-watch@eth0.service"_s)});
        QVERIFY(verify.waitForFinished(60000));
        const QByteArray output = verify.readAllStandardOutput() + verify.readAllStandardError();
        QCOMPARE(verify.exitCode(), 0);
        QVERIFY2(output.isEmpty(), output.constData());
    }
};

QTEST_GUILESS_MAIN(TestWatchService)
#include "tst_watchservice.moc"
