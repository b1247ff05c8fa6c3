#include "net/latencyprobe.h"
#include "net/pinger.h"
#include "socketkinds.h"
#include "support/testnetwork.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A name the resolver refuses without asking any server (it has an empty label).
const QString unresolvableName = u"unresolvable..name"_s;

// Every signal of a component, in the order they came.
struct SignalLog : QObject
{
    explicit SignalLog(Pinger &pinger)
    {
        connect(&pinger, &Pinger::dnsLookupDone, this, [this](quint16 error) { events << u"done %1"_s.arg(error); });
        connect(&pinger, &Pinger::display, this, [this](const QString &message) { events << message; });
        connect(&pinger, &Pinger::echoRequest, this, [this] { events << u"echo request"_s; });
        connect(&pinger, &Pinger::echoReply, this, [this](int replies) { events << u"echo reply %1"_s.arg(replies); });
        connect(&pinger, &Pinger::pingFinished, this, [this] { events << u"finished"_s; });
    }
    QStringList events;
};

} // namespace

// The ping component (its look-up, its worker) and the latency probe built on it.
class TestPinger : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestNetwork> network;

    bool requireNetwork()
    {
        if (::geteuid() != 0)
            return false;
        if (!network)
            network = std::make_unique<TestNetwork>(u"ping"_s);
        return network->ok;
    }
#define REQUIRE_NETWORK()                                                                                  \
    do {                                                                                                   \
        if (!requireNetwork())                                                                             \
            QSKIP(network ? qPrintable(network->error) : "echo tests need root: they make network namespaces"); \
    } while (false)

    template<typename T, typename... Args>
    std::unique_ptr<T> inProber(Args &&...args)
    {
        const InsideNamespace inside(network->prober);
        return inside.entered ? std::make_unique<T>(std::forward<Args>(args)...) : nullptr;
    }

private Q_SLOTS:
    void cleanupTestCase() { network.reset(); }

    void lookup_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("result");
        QTest::newRow("dotted") << u"127.0.0.1"_s << true << 0 << u"127.0.0.1"_s;
        QTest::newRow("short form") << u"127.1"_s << true << 0 << u"127.0.0.1"_s;
        QTest::newRow("hexadecimal") << u"0x7f.0.0.2"_s << true << 0 << u"127.0.0.2"_s;
        QTest::newRow("octal") << u"010.0.0.1"_s << true << 0 << u"8.0.0.1"_s;
        // The resolver may put ::1 first; the echo needs the IPv4 address.
        QTest::newRow("name") << u"localhost"_s << false << 0 << u"127.0.0.1"_s;
        QTest::newRow("unresolvable") << unresolvableName << false << int(Pinger::hostNotFound) << QString();
    }
    void lookup()
    {
        QFETCH(QString, host);
        QFETCH(bool, atOnce);
        QFETCH(int, error);
        QFETCH(QString, result);
        Pinger pinger(nullptr);
        const SignalLog log(pinger);
        pinger.dnsLookup(host);
        const QStringList done{u"done %1"_s.arg(error)};
        QCOMPARE(pinger.lookupPending(), !atOnce);
        if (atOnce) {
            QCOMPARE(log.events, done); // before dnsLookup returned
        } else {
            QVERIFY(log.events.isEmpty());
            QCOMPARE(pinger.lookupResult(), QString());
            QTRY_COMPARE(log.events, done);
        }
        QCOMPARE(pinger.lookupResult(), result);
        QVERIFY(!pinger.lookupPending());
    }

    void laterLookupReplacesPendingOne_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("result");
        QTest::newRow("name") << u"localhost"_s << u"127.0.0.1"_s;
        QTest::newRow("dotted") << u"127.0.0.7"_s << u"127.0.0.7"_s;
    }
    void laterLookupReplacesPendingOne()
    {
        QFETCH(QString, second);
        QFETCH(QString, result);
        Pinger pinger(nullptr);
        const SignalLog log(pinger);
        pinger.dnsLookup(u"localhost"_s);
        pinger.dnsLookup(second);
        QTRY_COMPARE(log.events, QStringList{u"done 0"_s});
        QTest::qWait(300); // the first look-up's answer, should it still come, changes nothing
        QCOMPARE(log.events, QStringList{u"done 0"_s});
        QCOMPARE(pinger.lookupResult(), result);
    }

    void cancelEndsThePendingLookup()
    {
        Pinger pinger(nullptr);
        const SignalLog log(pinger);
        pinger.cancelDnsLookup(); // nothing pending: nothing happens
        QVERIFY(log.events.isEmpty());
        pinger.dnsLookup(u"localhost"_s);
        pinger.cancelDnsLookup();
        QCOMPARE(log.events, QStringList{u"done 10004"_s});
        QVERIFY(!pinger.lookupPending());
        QTest::qWait(300);
        QCOMPARE(log.events, QStringList{u"done 10004"_s});
        QCOMPARE(pinger.lookupResult(), QString());
    }

    void destructionCancelsThePendingLookup()
    {
        auto pinger = std::make_unique<Pinger>(nullptr);
        const SignalLog log(*pinger);
        pinger->dnsLookup(u"localhost"_s);
        pinger.reset();
        QCOMPARE(log.events, QStringList{u"done 10004"_s});
    }

    void withoutEngine()
    {
        Pinger pinger(nullptr);
        pinger.setAddress(u"127.0.0.1"_s);
        pinger.setTimeout(100);
        QCOMPARE(pinger.address(), QString());
        QCOMPARE(pinger.timeout(), 0);
        QVERIFY(!pinger.ping());
        QCOMPARE(pinger.errorCode(), -1);
        QCOMPARE(pinger.errorString(), QString());
        QCOMPARE(pinger.reply(), EchoReply{});
        QCOMPARE(pinger.hostIp(), QString());
    }

    void echoSignalsInOrder_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("error");
        QTest::newRow("reply") << u"127.0.0.1"_s
                               << QStringList{u"echo request"_s, u"echo reply 1"_s, u"finished"_s} << 0;
        QTest::newRow("unresolved") << unresolvableName
                                    << QStringList{u"Unable to resolve "_s + unresolvableName,
                                                   u"Invalid host address"_s, u"finished"_s}
                                    << 11018;
    }
    void echoSignalsInOrder()
    {
        QFETCH(QString, address);
        QFETCH(QStringList, events);
        QFETCH(int, error);
        REQUIRE_NETWORK();
        const auto pinger = inProber<Pinger>(EchoSocketKind::Raw);
        QVERIFY(pinger);
        const SignalLog log(*pinger);
        pinger->setAddress(address);
        QVERIFY(pinger->ping());
        QVERIFY(pinger->busy());
        QVERIFY(!pinger->ping()); // one echo at a time
        QTRY_VERIFY(!pinger->busy());
        QCOMPARE(log.events, events);
        QCOMPARE(pinger->errorCode(), error);
        QCOMPARE(pinger->hostIp(), error ? QString() : address);
        QCOMPARE(pinger->reply().address != 0, !error);
    }

    void destructionEndsTheWait()
    {
        REQUIRE_NETWORK();
        auto pinger = inProber<Pinger>(EchoSocketKind::Raw);
        const SignalLog log(*pinger);
        pinger->setAddress(QString::fromLatin1(TestNetwork::silentAddress));
        pinger->setTimeout(IcmpEcho::longestWaitMs);
        QVERIFY(pinger->ping());
        QTRY_COMPARE(log.events, QStringList{u"echo request"_s});
        pinger.reset(); // returns without waiting out the minute
        QTest::qWait(50);
        QCOMPARE(log.events, QStringList{u"echo request"_s});
    }

    void probeResults_data()
    {
        QTest::addColumn<EchoSocketKind>("kind");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("ttl");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("replied");
        for (const auto &[kind, name] : socketKinds) {
            QTest::addRow("%s, loopback", name) << kind << u"127.0.0.1"_s << 64 << 32 << true;
            QTest::addRow("%s, TTL 256", name) << kind << u"127.0.0.1"_s << 256 << 32 << false;
            QTest::addRow("%s, size -1", name) << kind << u"127.0.0.1"_s << 64 << -1 << false;
            QTest::addRow("%s, silent host", name) << kind << QString::fromLatin1(TestNetwork::silentAddress) << 64
                                                   << 32 << false;
            // A failed look-up pings "", which sends nothing: the label must still leave its last time.
            QTest::addRow("%s, failed look-up", name) << kind << unresolvableName << 64 << 32 << false;
        }
    }
    void probeResults()
    {
        QFETCH(EchoSocketKind, kind);
        QFETCH(QString, host);
        QFETCH(int, ttl);
        QFETCH(int, size);
        QFETCH(bool, replied);
        REQUIRE_NETWORK();
        const auto probe = inProber<LatencyProbe>(300, ttl, size, kind);
        QVERIFY(probe);
        QSignalSpy results(probe.get(), &LatencyProbe::resultReady);
        probe->startProbe(host);
        QTRY_COMPARE(results.size(), 1);
        const QString text = results[0][0].toString();
        if (replied) {
            bool number = false;
            QVERIFY(text.toUInt(&number) < 300 && number);
        } else {
            QCOMPARE(text, u"-"_s);
        }
        QTest::qWait(20);
        QCOMPARE(results.size(), 1);
    }

    void probeDueDuringAWaitIsSkipped()
    {
        REQUIRE_NETWORK();
        const auto probe = inProber<LatencyProbe>(1000, 64, 32);
        QSignalSpy requests(&probe->pinger(), &Pinger::echoRequest);
        QSignalSpy results(probe.get(), &LatencyProbe::resultReady);
        probe->startProbe(QString::fromLatin1(TestNetwork::silentAddress));
        QTRY_COMPARE(requests.size(), 1);
        probe->startProbe(u"127.0.0.1"_s);
        QTRY_COMPARE(results.size(), 1);
        QCOMPARE(results[0][0].toString(), u"-"_s);
        QCOMPARE(requests.size(), 1);
    }

    void noEchoDuringShutDown()
    {
        REQUIRE_NETWORK();
        auto probe = inProber<LatencyProbe>(1000, 64, 32);
        QSignalSpy requests(&probe->pinger(), &Pinger::echoRequest);
        probe->startProbe(u"localhost"_s);
        QVERIFY(probe->pinger().lookupPending());
        probe.reset();
        QTest::qWait(50);
        QCOMPARE(requests.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPinger)
#include "tst_pinger.moc"
