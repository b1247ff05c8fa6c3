#include "platform/requestlistener.h"

#include "support/localanswer.h"

#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

QByteArray echo(const QByteArray &request)
{
    return "got " + request;
}

bool isSocketFile(const QString &path)
{
    struct stat status{};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISSOCK(status.st_mode);
}

// Clients that connect and say nothing.
std::vector<std::unique_ptr<QLocalSocket>> idleClients(const QString &path, int count)
{
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    for (int i = 0; i < count; ++i) {
        clients.push_back(std::make_unique<QLocalSocket>());
        clients.back()->connectToServer(path);
    }
    return clients;
}

// Takes every free descriptor of the process until it is destroyed.
class DescriptorHog
{
public:
    DescriptorHog()
    {
        for (int descriptor; (descriptor = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            m_taken.push_back(descriptor);
    }
    ~DescriptorHog()
    {
        for (int descriptor : m_taken)
            ::close(descriptor);
    }
    DescriptorHog(const DescriptorHog &) = delete;
    DescriptorHog &operator=(const DescriptorHog &) = delete;

private:
    std::vector<int> m_taken;
};

} // namespace

class TestRequestListener : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path;
    int sockets = 0;

private Q_SLOTS:
    // A socket of its own for every case.
    void init() { path = dir.filePath(QStringLiteral("s%1.socket").arg(++sockets)); }
    // However many clients connect and idle, no more than the cap are open at once, and each
    // leaves after its time, so a request behind them is still answered.
    void idleClientsAreCappedAndTimedOut_data()
    {
        QTest::addColumn<int>("cap");
        QTest::addColumn<int>("idle");
        QTest::newRow("one fewer than the cap") << 4 << 3;
        QTest::newRow("exactly the cap") << 4 << 4;
        QTest::newRow("far more than the cap") << 4 << 40;
    }
    void idleClientsAreCappedAndTimedOut()
    {
        QFETCH(int, cap);
        QFETCH(int, idle);
        RequestListener listener(echo, {.requestTime = 100ms, .maxConnections = cap, .maxRequestBytes = 64});
        QVERIFY(listener.listen(path));
        const auto clients = idleClients(path, idle);
        int most = 0;
        QVERIFY(QTest::qWaitFor(
            [&] {
                most = std::max(most, listener.openConnections());
                return std::all_of(clients.begin(), clients.end(), [](const auto &client) {
                    return client->state() == QLocalSocket::UnconnectedState;
                });
            },
            30000));
        QVERIFY(most <= cap);
        QCOMPARE(listener.openConnections(), 0);
        QCOMPARE(answerTo(path, "ping\n"), QByteArray("got ping\n"));
    }

    // Out of descriptors, the listener neither dies nor removes its socket file: the client that
    // waited is served once descriptors are free again.
    void survivesRunningOutOfDescriptors()
    {
        RequestListener listener(echo);
        QVERIFY(listener.listen(path));
        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
        const rlimit lowered{std::min<rlim_t>(limit.rlim_cur, 1024), limit.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
        // Queued by the kernel before the descriptors run out; accepted only after.
        QLocalSocket client;
        client.connectToServer(path);
        QVERIFY(client.waitForConnected(5000));
        client.write("ping\n");
        QVERIFY(client.flush());
        {
            const DescriptorHog hog;
            QTest::qWait(500); // several attempts to accept, each without a descriptor
            QVERIFY(isSocketFile(path));
        }
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &limit), 0);
        QCOMPARE(answerUntilClosed(client), QByteArray("got ping\n"));
        QVERIFY(isSocketFile(path));
        QCOMPARE(answerTo(path, "ping\n"), QByteArray("got ping\n"));
    }

    // The socket file lives exactly as long as the listener.
    void socketFileGoesWithTheListener()
    {
        {
            RequestListener listener(echo);
            QVERIFY(listener.listen(path));
            QVERIFY(isSocketFile(path));
        }
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestRequestListener)
#include "tst_requestlistener.moc"
