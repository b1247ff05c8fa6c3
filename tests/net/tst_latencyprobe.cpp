#include "net/latencyprobe.h"
#include "socketkinds.h"
#include "support/testnetwork.h"

#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(LookupOutcome)

namespace {

// A name the resolver refuses without asking any server (it has an empty label).
const QString unresolvableName = u"unresolvable..name"_s;

QString lookupEvent(LookupOutcome outcome, const QString &address)
{
    return u"%1 %2"_s.arg(int(outcome)).arg(address);
}

// Every end of a look-up, in the order they came.
struct LookupLog : QObject
{
    explicit LookupLog(HostLookup &lookup)
    {
        connect(&lookup, &HostLookup::finished, this, [this](LookupOutcome outcome, quint32 address) {
            events << lookupEvent(outcome, address ? dottedAddress(address) : QString());
        });
    }
    QStringList events;
};

// The probe's results; kept by the test, so they can be read after the probe is gone.
struct ResultLog : QObject
{
    explicit ResultLog(LatencyProbe &probe)
    {
        connect(&probe, &LatencyProbe::resultReady, this, [this](const QString &text) { texts << text; });
    }
    QStringList texts;
};

} // namespace

// The latency probe: its look-up, its echo on a worker, the text it reports.
class TestLatencyProbe : public QObject
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

    // A probe whose socket lives in the prober namespace.
    std::unique_ptr<LatencyProbe> proberProbe(int32_t timeoutMs, int32_t ttl, int32_t size,
                                              EchoSocketKind kind = EchoSocketKind::Automatic)
    {
        const InsideNamespace inside(network->prober);
        return inside.entered ? std::make_unique<LatencyProbe>(timeoutMs, ttl, size, kind) : nullptr;
    }

private Q_SLOTS:
    void cleanupTestCase() { network.reset(); }

    void lookup_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<LookupOutcome>("outcome");
        QTest::addColumn<QString>("result");
        QTest::newRow("dotted") << u"127.0.0.1"_s << true << LookupOutcome::Found << u"127.0.0.1"_s;
        QTest::newRow("short form") << u"127.1"_s << true << LookupOutcome::Found << u"127.0.0.1"_s;
        QTest::newRow("hexadecimal") << u"0x7f.0.0.2"_s << true << LookupOutcome::Found << u"127.0.0.2"_s;
        QTest::newRow("octal") << u"010.0.0.1"_s << true << LookupOutcome::Found << u"8.0.0.1"_s;
        // The resolver may put ::1 first; the echo needs the IPv4 address.
        QTest::newRow("name") << u"localhost"_s << false << LookupOutcome::Found << u"127.0.0.1"_s;
        QTest::newRow("unresolvable") << unresolvableName << false << LookupOutcome::HostNotFound << QString();
        QTest::newRow("empty") << QString() << false << LookupOutcome::HostNotFound << QString();
    }
    void lookup()
    {
        QFETCH(QString, host);
        QFETCH(bool, atOnce);
        QFETCH(LookupOutcome, outcome);
        QFETCH(QString, result);
        HostLookup lookup;
        const LookupLog log(lookup);
        lookup.start(host);
        const QStringList done{lookupEvent(outcome, result)};
        if (atOnce) {
            QCOMPARE(log.events, done); // before start returned
        } else {
            QVERIFY(log.events.isEmpty());
            QTRY_COMPARE(log.events, done);
        }
    }

    void parsesOnlyDottedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("broadcast") << u"255.255.255.255"_s; // no host: the echo refuses it
        QTest::newRow("name") << u"localhost"_s;
        QTest::newRow("empty") << QString();
    }
    void parsesOnlyDottedText()
    {
        QFETCH(QString, text);
        QVERIFY(!parseDottedAddress(text));
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
        HostLookup lookup;
        const LookupLog log(lookup);
        lookup.start(u"localhost"_s);
        lookup.start(second);
        const QStringList done{lookupEvent(LookupOutcome::Found, result)};
        QTRY_COMPARE(log.events, done);
        QTest::qWait(300); // the first look-up's answer, should it still come, changes nothing
        QCOMPARE(log.events, done);
    }

    void destructionDropsThePendingLookup()
    {
        QObject receiver;
        QStringList events;
        {
            HostLookup lookup;
            connect(&lookup, &HostLookup::finished, &receiver, [&] { events << u"finished"_s; });
            lookup.start(u"localhost"_s);
        }
        QTest::qWait(300);
        QCOMPARE(events, QStringList());
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
            // Nothing to ping: the label must still leave its last time.
            QTest::addRow("%s, failed look-up", name) << kind << unresolvableName << 64 << 32 << false;
            QTest::addRow("%s, broadcast", name) << kind << u"255.255.255.255"_s << 64 << 32 << false;
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
        const auto probe = proberProbe(300, ttl, size, kind);
        QVERIFY(probe);
        const ResultLog results(*probe);
        probe->startProbe(host);
        // A dotted address is looked up at once, and its echo is under way before startProbe returns.
        QCOMPARE(probe->waiting(), parseDottedAddress(host).has_value());
        QTRY_COMPARE(results.texts.size(), 1);
        QVERIFY(!probe->waiting());
        const QString text = results.texts[0];
        if (replied) {
            bool number = false;
            QVERIFY(text.toUInt(&number) < 300 && number);
        } else {
            QCOMPARE(text, u"-"_s);
        }
        QTest::qWait(20);
        QCOMPARE(results.texts.size(), 1);
    }

    void probeDueDuringAWaitIsSkipped()
    {
        REQUIRE_NETWORK();
        const auto probe = proberProbe(1000, 64, 32);
        QVERIFY(probe);
        const ResultLog results(*probe);
        probe->startProbe(QString::fromLatin1(TestNetwork::silentAddress));
        QVERIFY(probe->waiting());
        probe->startProbe(u"127.0.0.1"_s); // would answer at once
        QTRY_COMPARE(results.texts.size(), 1);
        QCOMPARE(results.texts[0], u"-"_s);
        QTest::qWait(20);
        QCOMPARE(results.texts, QStringList{u"-"_s});
    }

    void destructionEndsTheWait()
    {
        REQUIRE_NETWORK();
        auto probe = proberProbe(IcmpEcho::longestWaitMs, 64, 32, EchoSocketKind::Raw);
        QVERIFY(probe);
        const ResultLog results(*probe);
        probe->startProbe(QString::fromLatin1(TestNetwork::silentAddress));
        QVERIFY(probe->waiting());
        probe.reset(); // returns without waiting out the minute
        QTest::qWait(50);
        QCOMPARE(results.texts, QStringList());
    }

    void noEchoDuringShutDown()
    {
        REQUIRE_NETWORK();
        auto probe = proberProbe(1000, 64, 32);
        QVERIFY(probe);
        const ResultLog results(*probe);
        probe->startProbe(u"localhost"_s);
        QVERIFY(!probe->waiting()); // the look-up is pending
        probe.reset();
        QTest::qWait(50);
        QCOMPARE(results.texts, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestLatencyProbe)
#include "tst_latencyprobe.moc"
