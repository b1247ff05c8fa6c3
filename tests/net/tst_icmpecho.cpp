#include "net/icmpecho.h"
#include "net/latencyprobe.h"
#include "socketkinds.h"
#include "support/testnetwork.h"

#include <QTest>

#include <pcap/pcap.h>

#include <netinet/in.h>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// The echo requests on the loopback device of the namespace it was opened in.
class LoopbackCapture
{
public:
    LoopbackCapture()
    {
        char error[PCAP_ERRBUF_SIZE] = {};
        m_pcap = pcap_create("lo", error);
        bpf_program filter{};
        ok = m_pcap && pcap_set_immediate_mode(m_pcap, 1) == 0 && pcap_activate(m_pcap) == 0
             && pcap_datalink(m_pcap) == DLT_EN10MB
             && pcap_compile(m_pcap, &filter, "icmp[icmptype] == icmp-echo", 1, PCAP_NETMASK_UNKNOWN) == 0
             && pcap_setfilter(m_pcap, &filter) == 0 && pcap_setnonblock(m_pcap, 1, error) == 0;
        pcap_freecode(&filter);
    }
    ~LoopbackCapture()
    {
        if (m_pcap)
            pcap_close(m_pcap);
    }

    // The IP packet of the next echo request, without the link header; empty when none came.
    QByteArray nextRequest()
    {
        for (int tries = 0; tries < 200; ++tries) {
            pcap_pkthdr *header = nullptr;
            const u_char *frame = nullptr;
            if (pcap_next_ex(m_pcap, &header, &frame) == 1 && header->caplen > 14)
                return QByteArray(reinterpret_cast<const char *>(frame) + 14, qsizetype(header->caplen) - 14);
            QTest::qSleep(10);
        }
        return {};
    }

    bool ok = false;

private:
    pcap_t *m_pcap = nullptr;
};

const uint32_t loopbackAddress = htonl(INADDR_LOOPBACK);

// An address of the test network in network byte order.
uint32_t testAddress(const char *dotted)
{
    return *parseDottedAddress(QString::fromLatin1(dotted));
}

} // namespace

Q_DECLARE_METATYPE(EchoStatus)

// The echo engine: the echo on the wire, and every way an echo can end.
// The echoes stay inside network namespaces the test makes.
class TestIcmpEcho : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestNetwork> network;

    // An engine whose socket lives in the prober namespace.
    std::unique_ptr<IcmpEcho> proberEngine(EchoSocketKind kind)
    {
        const InsideNamespace inside(network->prober);
        if (!inside.entered)
            return nullptr;
        return std::make_unique<IcmpEcho>(kind);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            return;
        network = std::make_unique<TestNetwork>(u"echo"_s);
        QVERIFY2(network->ok, qPrintable(network->error));
    }
    void cleanupTestCase() { network.reset(); }
    void init()
    {
        if (!network)
            QSKIP("echo tests need root: they make network namespaces and open ICMP sockets");
    }

    void defaults()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Automatic);
        QVERIFY(engine);
        QCOMPARE(engine->kind(), EchoSocketKind::Datagram); // the namespace allows it
        const EchoParameters parameters;
        QCOMPARE(parameters.size, 56);
        QCOMPARE(parameters.timeoutMs, 4000);
        QCOMPARE(parameters.ttl, 64);
    }

    void echoOnLoopback_data()
    {
        QTest::addColumn<EchoSocketKind>("kind");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("ttl");
        QTest::addColumn<int>("wireTtl");
        QTest::addColumn<QByteArray>("data");
        const QByteArray payload(IcmpEcho::payloadText);
        for (const auto &[kind, name] : socketKinds) {
            QTest::addRow("%s, size 10", name) << kind << 10 << 64 << 64 << payload.left(10);
            QTest::addRow("%s, size 56, TTL 300", name) << kind << 56 << 300 << 44 << payload + QByteArray(11, ' ');
            QTest::addRow("%s, size 0", name) << kind << 0 << 1 << 1 << QByteArray();
        }
    }
    void echoOnLoopback()
    {
        QFETCH(EchoSocketKind, kind);
        QFETCH(int, size);
        QFETCH(int, ttl);
        QFETCH(int, wireTtl);
        QFETCH(QByteArray, data);

        const InsideNamespace inside(network->prober);
        QVERIFY(inside.entered);
        LoopbackCapture capture;
        QVERIFY(capture.ok);
        IcmpEcho engine(kind);
        QCOMPARE(engine.kind(), kind);
        const EchoParameters parameters{size, 4000, ttl};

        const EchoOutcome outcome = engine.ping(loopbackAddress, parameters);
        QCOMPARE(outcome.status, EchoStatus::Reply);
        QCOMPARE(dottedAddress(outcome.from), u"127.0.0.1"_s);
        QCOMPARE(int(outcome.dataSize), size);
        QVERIFY(outcome.roundTripMs < uint32_t(parameters.timeoutMs));

        const QByteArray packet = capture.nextRequest();
        QVERIFY(packet.size() >= 28);
        QCOMPARE(int(uint8_t(packet[8])), wireTtl);
        const int headerSize = (packet[0] & 0x0F) * 4;
        QCOMPARE(packet.mid(headerSize + 8), data);
    }

    // 255.255.255.255 is no host: nothing is sent, and nothing is waited for.
    void badDestination()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Raw);
        EchoParameters parameters;
        parameters.timeoutMs = IcmpEcho::longestWaitMs;
        const EchoOutcome outcome = engine->ping(INADDR_NONE, parameters);
        QCOMPARE(outcome.status, EchoStatus::BadDestination);
        QCOMPARE(outcome.from, 0u);
    }

    void echoWithoutReply_data()
    {
        QTest::addColumn<EchoSocketKind>("kind");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("ttl");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<EchoStatus>("status");
        const QString loopback = u"127.0.0.1"_s;
        const QString silent = QString::fromLatin1(TestNetwork::silentAddress);
        const QString absent = QString::fromLatin1(TestNetwork::absentAddress);
        for (const auto &[kind, name] : socketKinds) {
            QTest::addRow("%s, silent host", name) << kind << silent << 56 << 64 << 300 << EchoStatus::TimedOut;
            QTest::addRow("%s, absent host", name) << kind << absent << 56 << 64 << 20000 << EchoStatus::HostUnreachable;
            QTest::addRow("%s, TTL 256", name) << kind << loopback << 56 << 256 << 4000 << EchoStatus::BadRequest;
            QTest::addRow("%s, size -1", name) << kind << loopback << -1 << 64 << 4000 << EchoStatus::BadRequest;
            QTest::addRow("%s, size 65508", name) << kind << loopback << 65508 << 64 << 4000 << EchoStatus::BadRequest;
            QTest::addRow("%s, time-out -1", name) << kind << loopback << 56 << 64 << -1 << EchoStatus::BadRequest;
        }
    }
    void echoWithoutReply()
    {
        QFETCH(EchoSocketKind, kind);
        QFETCH(QString, address);
        QFETCH(int, size);
        QFETCH(int, ttl);
        QFETCH(int, timeout);
        QFETCH(EchoStatus, status);
        const std::unique_ptr<IcmpEcho> engine = proberEngine(kind);
        QCOMPARE(engine->ping(*parseDottedAddress(address), EchoParameters{size, timeout, ttl}).status, status);
    }

    // On the loopback device a raw socket sees our own request too; it is never the answer.
    void ownRequestIsNoReply()
    {
        const InsideNamespace inside(network->silent);
        IcmpEcho engine(EchoSocketKind::Raw);
        EchoParameters parameters;
        parameters.timeoutMs = 300;
        QCOMPARE(engine.ping(loopbackAddress, parameters).status, EchoStatus::TimedOut);
    }

    void datagramSocketRefused()
    {
        // The silent namespace keeps the default range, which allows no group.
        const InsideNamespace inside(network->silent);
        try {
            IcmpEcho engine(EchoSocketKind::Datagram);
            QFAIL("the datagram socket opened");
        } catch (const IcmpEchoError &error) {
            QVERIFY2(QByteArray(error.what()).contains("net.ipv4.ping_group_range"), error.what());
        }
    }

    void largestSizeIsSent()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Raw);
        EchoParameters parameters;
        parameters.size = IcmpEcho::largestSize;
        const EchoOutcome outcome = engine->ping(loopbackAddress, parameters);
        QCOMPARE(outcome.status, EchoStatus::Reply);
        QCOMPARE(int(outcome.dataSize), IcmpEcho::largestSize);
    }

    void interruptEndsTheWait()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Raw);
        EchoParameters parameters;
        parameters.timeoutMs = IcmpEcho::longestWaitMs;
        std::thread other([&] { engine->interrupt(); });
        other.join();
        QCOMPARE(engine->ping(testAddress(TestNetwork::silentAddress), parameters).status, EchoStatus::TimedOut);
    }
};

QTEST_GUILESS_MAIN(TestIcmpEcho)
#include "tst_icmpecho.moc"
