#include "platform/instancesocket.h"
#include "platform/singleinstanceguard.h"

#include "support/localanswer.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestSingleInstanceGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One request line per connection: come forward (no answer), status (the provider's line),
    // and anything else, which is closed unanswered, as is a status request with no provider
    // or a client that sends no whole line.
    void requestsOnTheSocket_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<bool>("provider");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("comeForward");
        QTest::newRow("come forward") << InstanceSocket::comeForwardRequest << true << QByteArray() << 1;
        QTest::newRow("status") << InstanceSocket::statusRequest << true << QByteArray("{\"version\":1}\n") << 0;
        QTest::newRow("status, no provider") << InstanceSocket::statusRequest << false << QByteArray() << 0;
        QTest::newRow("unknown") << QByteArray("status please\n") << true << QByteArray() << 0;
        QTest::newRow("a long line") << QByteArray(100000, 's') << true << QByteArray() << 0;
        // Neither may hold the connection: both end after the client's time.
        QTest::newRow("nothing sent") << QByteArray() << true << QByteArray() << 0;
        QTest::newRow("no line end") << QByteArray("status") << true << QByteArray() << 0;
    }
    void requestsOnTheSocket()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, provider);
        QFETCH(QByteArray, answer);
        QFETCH(int, comeForward);
        QTemporaryDir dir;
        SingleInstanceGuard first(QStringLiteral("tarvo"), dir.path());
        QVERIFY(first.isFirstCopy());
        if (provider)
            first.setStatusProvider([] { return QByteArray("{\"version\":1}"); });
        QSignalSpy asked(&first, &SingleInstanceGuard::comeForwardRequested);
        QCOMPARE(answerTo(InstanceSocket::path(dir.path(), QStringLiteral("tarvo")), request), answer);
        QCOMPARE(asked.count(), comeForward);
    }

    // A later copy's request still reaches the first.
    void laterCopyAsksTheFirstForward()
    {
        QTemporaryDir dir;
        SingleInstanceGuard first(QStringLiteral("tarvo"), dir.path());
        const SingleInstanceGuard later(QStringLiteral("tarvo"), dir.path());
        QVERIFY(first.isFirstCopy() && !later.isFirstCopy());
        QSignalSpy asked(&first, &SingleInstanceGuard::comeForwardRequested);
        QVERIFY(later.askFirstCopyForward());
        QVERIFY(asked.wait(30000));
    }

    // The socket tells what this user downloads: nobody else may connect, whatever the folder
    // and the file mode mask allow.
    void onlyTheUserMayConnect()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777)));
        const mode_t mask = ::umask(0);
        const SingleInstanceGuard first(QStringLiteral("tarvo"), dir.path());
        ::umask(mask);
        QVERIFY(first.isFirstCopy());
        struct stat status{};
        const QByteArray socketPath = QFile::encodeName(InstanceSocket::path(dir.path(), QStringLiteral("tarvo")));
        QCOMPARE(::stat(socketPath.constData(), &status), 0);
        QVERIFY(S_ISSOCK(status.st_mode));
        QCOMPARE(status.st_mode & (S_IRWXG | S_IRWXO), mode_t(0));
    }

    // Something at the lock's place that no copy made (it would make Qt read without end or wait
    // for ever) is taken away: the copy runs as the first.
    void foreignLock_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a link to /dev/zero") << QStringLiteral("zero");
        QTest::newRow("a pipe") << QStringLiteral("pipe");
        QTest::newRow("a large file") << QStringLiteral("large");
    }
    void foreignLock()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("tarvo.lock"));
        if (kind == QLatin1String("zero")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), lock));
        } else if (kind == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
        } else {
            QFile file(lock);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(1 << 20));
        }
        const SingleInstanceGuard first(QStringLiteral("tarvo"), dir.path());
        QVERIFY(first.isFirstCopy());
        QVERIFY(!QFileInfo(lock).isSymLink());
        QVERIFY(QFileInfo(lock).size() < 4096);
        const SingleInstanceGuard later(QStringLiteral("tarvo"), dir.path());
        QVERIFY(!later.isFirstCopy());
    }

    // Where no lock can be made, the guard must not keep the program from running.
    void noLockRunsUnguarded_data()
    {
        QTest::addColumn<QString>("folder"); // below a temporary folder holding a regular file "file"
        QTest::newRow("no folder") << QString();
        QTest::newRow("missing folder") << QStringLiteral("missing");
        QTest::newRow("a file, not a folder") << QStringLiteral("file");
    }
    void noLockRunsUnguarded()
    {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString directory = folder.isEmpty() ? QString() : dir.filePath(folder);
        const SingleInstanceGuard first(QStringLiteral("tarvo"), directory);
        const SingleInstanceGuard second(QStringLiteral("tarvo"), directory);
        QVERIFY(first.isFirstCopy());
        QVERIFY(second.isFirstCopy());
        QVERIFY(!second.askFirstCopyForward(std::chrono::milliseconds(100)));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstanceGuard)
#include "tst_singleinstanceguard.moc"
