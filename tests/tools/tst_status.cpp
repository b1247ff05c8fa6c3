#include "meter/statusfigures.h"
#include "platform/instancesocket.h"
#include "platform/singleinstanceguard.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// How long a sanitized tarvo-cli may take; never reached when it works, and a hang fails.
constexpr int patience = 30000;

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// A socket file with nobody behind it, as a killed program leaves it.
bool leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

const StatusFigures throttled{true, Restriction::Throttled, 9, 13500000, -1500000, std::nullopt, 300, 50000, 1234};

} // namespace

// tarvo-cli status against a program of the test's own: the single-instance guard serving in this
// process on a runtime folder of the test's, or no program, a socket left behind, or one that
// never answers.
class TestStatus : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> runtime;

    QString socketPath() const { return InstanceSocket::path(runtime->path(), QStringLiteral("tarvo")); }

    // Runs tarvo-cli while this process's event loop keeps serving.
    Run run(const QStringList &arguments) const
    {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime->path());
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(TARVO_CLI), arguments);
        if (!QTest::qWaitFor([&cli] { return cli.state() == QProcess::NotRunning; }, patience)) {
            cli.kill();
            cli.waitForFinished();
            return {};
        }
        return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1, cli.readAllStandardOutput(),
                cli.readAllStandardError()};
    }

private Q_SLOTS:
    void init()
    {
        runtime = std::make_unique<QTemporaryDir>();
        QVERIFY(runtime->isValid());
        QVERIFY(QFile::setPermissions(runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // One line on standard output: the program's JSON line as it came, or its text.
    void printsTheRunningProgramsFigures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("plain") << QStringList{QStringLiteral("status")}
                               << (statusLine(throttled) + u'\n').toLocal8Bit();
        QTest::newRow("--json") << QStringList{QStringLiteral("status"), QStringLiteral("--json")}
                                << statusJson(throttled) + '\n';
    }
    void printsTheRunningProgramsFigures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, out);
        SingleInstanceGuard program(QStringLiteral("tarvo"), runtime->path());
        QVERIFY(program.isFirstCopy());
        program.setStatusProvider([] { return statusJson(throttled); });
        const Run result = run(arguments);
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.out, out);
        QCOMPARE(result.exitCode, 0);
    }

    // Every failure is one line on standard error with its own exit status, and no hang.
    void failures_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no program") << "none" << 3 << QByteArray("Tarvo is not running (no ");
        QTest::newRow("stale socket") << "stale" << 3 << QByteArray("is left from a copy that was killed)");
        QTest::newRow("busy") << "silent" << 4 << QByteArray("did not answer within 2 s (busy?)");
        // A copy whose start-up box waits for the user answers nothing: busy, a status the README lists.
        QTest::newRow("no status answer") << "unanswered" << 4 << QByteArray("ended the connection without an answer");
        const QByteArray unreadable = "cannot read Tarvo's answer (not JSON of status version 1)";
        QTest::newRow("not JSON") << "garbled" << 2 << unreadable;
        QTest::newRow("another version") << "version 2" << 2 << unreadable;
    }
    void failures()
    {
        QFETCH(QString, program);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        std::unique_ptr<SingleInstanceGuard> guard;
        QLocalServer silent; // listens, and never reads nor answers
        if (program == u"stale") {
            QVERIFY(leaveStaleSocket(socketPath()));
        } else if (program == u"silent") {
            QVERIFY(silent.listen(socketPath()));
        } else if (program != u"none") {
            guard = std::make_unique<SingleInstanceGuard>(QStringLiteral("tarvo"), runtime->path());
            if (program == u"garbled")
                guard->setStatusProvider([] { return QByteArray("figures"); });
            else if (program == u"version 2")
                guard->setStatusProvider([] { return QByteArray(R"({"version":2,"text":"none"})"); });
        }
        for (const QString &form : {QString(), QStringLiteral("--json")}) {
            const Run result = run(form.isEmpty() ? QStringList{QStringLiteral("status")}
                                                  : QStringList{QStringLiteral("status"), form});
            QCOMPARE(result.exitCode, exitCode);
            QCOMPARE(result.out, QByteArray());
            QVERIFY2(result.err.startsWith("tarvo-cli: ") && result.err.endsWith('\n') && result.err.count('\n') == 1
                         && result.err.contains(message),
                     result.err.constData());
        }
    }

    // tarvo-cli set-bucket hands the figure to the running program as it reads it, and tells its
    // answer; bad input never reaches the program.
    void setBucket_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("answer");   // the program's
        QTest::addColumn<QByteArray>("received"); // what the program was handed; empty: nothing
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err"); // contained in the one line of standard error
        const QByteArray done = "set 70000000 62914560\n";
        const QByteArray told = "Bucket set to 62,914,560 bytes (Tarvo had counted 70,000,000).\n";
        QTest::newRow("remaining bytes") << QStringList{u"500MB"_s} << done << QByteArray("remaining 524288000.000")
                                         << 0 << told << QByteArray();
        QTest::newRow("remaining percent") << QStringList{u"42.5%"_s} << done << QByteArray("percent 42.500") << 0
                                           << told << QByteArray();
        QTest::newRow("nothing remaining") << QStringList{u"0"_s} << done << QByteArray("remaining 0.000") << 0 << told
                                           << QByteArray();
        QTest::newRow("level") << QStringList{u"--level"_s, u"60MB"_s} << done << QByteArray("level 62914560.000") << 0
                               << told << QByteArray();
        QTest::newRow("before the first Ok") << QStringList{u"5%"_s} << QByteArray(InstanceSocket::setBucketWaiting)
                                             << QByteArray("percent 5.000") << 5 << QByteArray()
                                             << QByteArray("not counting yet");
        QTest::newRow("refused") << QStringList{u"--level"_s, u"2GB"_s} << QByteArray(InstanceSocket::setBucketRefused)
                                 << QByteArray("level 2147483648.000") << 5 << QByteArray()
                                 << QByteArray("beyond what the bucket holds");
        QTest::newRow("unreadable answer") << QStringList{u"1%"_s} << QByteArray("set 12\n") << QByteArray("percent 1.000")
                                           << 2 << QByteArray() << QByteArray("cannot read Tarvo's answer");
        QTest::newRow("words") << QStringList{u"lots"_s} << done << QByteArray() << 2 << QByteArray()
                               << QByteArray("not \"lots\"");
        QTest::newRow("level in percent") << QStringList{u"5%"_s, u"--level"_s} << done << QByteArray() << 2
                                          << QByteArray() << QByteArray("the level needs a number of bytes");
        QTest::newRow("negative") << QStringList{u"-5"_s} << done << QByteArray() << 2 << QByteArray()
                                  << QByteArray("not \"-5\"");
        QTest::newRow("no figure") << QStringList{} << done << QByteArray() << 2 << QByteArray()
                                   << QByteArray("needs one figure");
        QTest::newRow("two figures") << QStringList{u"5%"_s, u"6%"_s} << done << QByteArray() << 2 << QByteArray()
                                     << QByteArray("(given: 5% 6%)");
    }
    void setBucket()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, received);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        SingleInstanceGuard program(QStringLiteral("tarvo"), runtime->path());
        QByteArrayList handed;
        program.setSetBucketHandler([&](const QByteArray &argument) {
            handed.append(argument);
            return answer;
        });
        const Run result = run(QStringList{u"set-bucket"_s} + arguments);
        QCOMPARE(handed, received.isEmpty() ? QByteArrayList() : QByteArrayList{received});
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, out);
        if (err.isEmpty())
            QCOMPARE(result.err, QByteArray());
        else
            QVERIFY2(result.err.startsWith("tarvo-cli: ") && result.err.count('\n') == 1 && result.err.contains(err),
                     result.err.constData());
    }

    void setBucketWithoutAProgram()
    {
        const Run result = run({u"set-bucket"_s, u"50%"_s});
        QCOMPARE(result.exitCode, 3);
        QVERIFY2(result.err.contains("Tarvo is not running (no "), result.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestStatus)
#include "tst_status.moc"
