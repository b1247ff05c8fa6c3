#include "net/icmpecho.h"
#include "socketkinds.h"
#include "support/testnetwork.h"

#include <QTest>

#include <pcap/pcap.h>

#include <memory>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// What the engine reported through its callbacks, in order.
struct Recorder
{
    explicit Recorder(IcmpEcho &engine)
    {
        engine.onDisplay = [this](const QString &message) { events << message; };
        engine.onEchoRequest = [this] { events << u"echo request"_s; };
        engine.onEchoReply = [this](int replies) { events << u"echo reply %1"_s.arg(replies); };
    }
    QStringList events;
};

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

} // namespace

// The echo engine: its error texts, the echo on the wire, and every way an echo can end.
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
        if (!network && !QByteArray(QTest::currentTestFunction()).startsWith("errorStrings"))
            QSKIP("echo tests need root: they make network namespaces and open ICMP sockets");
    }

    void errorStrings_data()
    {
        QTest::addColumn<uint>("code");
        QTest::addColumn<QString>("text");
        const std::pair<uint, const char *> table[] = {
            {0, "No error"}, {11001, "Buffer too small"}, {11002, "Destination network unreachable"},
            {11003, "Destination host unreachable"}, {11004, "Destination protocol unreachable"},
            {11005, "Destination port unreachable"}, {11006, "No resources"}, {11007, "Bad option"},
            {11008, "Hardware error"}, {11009, "Packet too big"}, {11010, "Request timed out"},
            {11011, "Bad request"}, {11012, "Bad route"}, {11013, "TTL expired in transit"},
            {11014, "TTL expired in reassembly"}, {11015, "Parameter problem"}, {11016, "Source quench"},
            {11017, "Option too big"}, {11018, "Bad Destination"}, {11019, "Address deleted"},
            {11020, "Specific MTU change"}, {11021, "MTU change"}, {11050, "General failure"}, {11255, "Pending"},
            {12345, "ICMP error #12345"}, {11022, "ICMP error #11022"}, {1, "ICMP error #1"}};
        for (const auto &[code, text] : table)
            QTest::addRow("%u", code) << code << QString::fromLatin1(text);
    }
    void errorStrings()
    {
        QFETCH(uint, code);
        QFETCH(QString, text);
        QCOMPARE(IcmpEcho::errorString(code), text);
    }

    void defaults()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Automatic);
        QVERIFY(engine);
        QCOMPARE(engine->socketKind(), EchoSocketKind::Datagram); // the namespace allows it
        QCOMPARE(engine->size, 56);
        QCOMPARE(engine->timeout, 4000);
        QCOMPARE(engine->ttl, 64);
        QCOMPARE(engine->flags, 0);
        QCOMPARE(engine->lastError(), 0u);
        QVERIFY(!engine->addressResolved());
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
        QCOMPARE(engine.socketKind(), kind);
        const Recorder recorder(engine);
        engine.setAddress(u"127.0.0.1"_s);
        engine.size = size;
        engine.ttl = ttl;

        QCOMPARE(engine.ping(), 1);
        QCOMPARE(recorder.events, QStringList({u"echo request"_s, u"echo reply 1"_s}));
        QCOMPARE(engine.lastError(), 0u);
        QCOMPARE(engine.errorString(), u"No error"_s);
        QCOMPARE(engine.hostIp(), u"127.0.0.1"_s);
        QCOMPARE(dottedAddress(engine.reply().address), u"127.0.0.1"_s);
        QCOMPARE(engine.reply().status, 0u);
        QCOMPARE(int(engine.reply().dataSize), size);
        QVERIFY(engine.reply().roundTripTime < uint32_t(engine.timeout));

        const QByteArray packet = capture.nextRequest();
        QVERIFY(packet.size() >= 28);
        QCOMPARE(int(uint8_t(packet[8])), wireTtl);
        const int headerSize = (packet[0] & 0x0F) * 4;
        QCOMPARE(packet.mid(headerSize + 8), data);
    }

    void sameAddressKeepsItsResolution()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Raw);
        engine->setAddress(u"127.0.0.1"_s);
        engine->resolveAddress();
        QVERIFY(engine->addressResolved());
        engine->setAddress(u"127.0.0.1"_s);
        QVERIFY(engine->addressResolved());
        // The classic dotted forms count as dotted text.
        engine->setAddress(u"127.1"_s);
        QVERIFY(!engine->addressResolved());
        QCOMPARE(engine->ping(), 1);
        QVERIFY(engine->addressResolved());
        QCOMPARE(engine->hostName(), u"127.1"_s);
        QCOMPARE(engine->hostIp(), u"127.0.0.1"_s);
    }

    void unresolvableAddress_data()
    {
        QTest::addColumn<QString>("address");
        // Inside the namespace no name server can be reached, so nothing leaves it.
        QTest::newRow("name") << u"unresolvable.invalid"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("broadcast") << u"255.255.255.255"_s;
    }
    void unresolvableAddress()
    {
        QFETCH(QString, address);
        const InsideNamespace inside(network->prober);
        IcmpEcho engine(EchoSocketKind::Raw);
        const Recorder recorder(engine);
        engine.setAddress(address);
        QCOMPARE(engine.ping(), 0);
        const QStringList expected = address.startsWith(u'2')
                                         ? QStringList{u"Invalid host address"_s}
                                         : QStringList{u"Unable to resolve "_s + address, u"Invalid host address"_s};
        QCOMPARE(recorder.events, expected);
        QCOMPARE(engine.lastError(), 11018u);
        QCOMPARE(engine.errorString(), u"Bad Destination"_s);
        // A failed resolution is tried again at the next ping.
        QCOMPARE(engine.addressResolved(), address.startsWith(u'2'));
    }

    void echoWithoutReply_data()
    {
        QTest::addColumn<EchoSocketKind>("kind");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("ttl");
        QTest::addColumn<int>("timeout");
        QTest::addColumn<uint>("error");
        const QString loopback = u"127.0.0.1"_s;
        const QString silent = QString::fromLatin1(TestNetwork::silentAddress);
        const QString absent = QString::fromLatin1(TestNetwork::absentAddress);
        for (const auto &[kind, name] : socketKinds) {
            QTest::addRow("%s, silent host", name) << kind << silent << 56 << 64 << 300 << 11010u;
            QTest::addRow("%s, absent host", name) << kind << absent << 56 << 64 << 20000 << 11003u;
            QTest::addRow("%s, TTL 256", name) << kind << loopback << 56 << 256 << 4000 << 11011u;
            QTest::addRow("%s, size -1", name) << kind << loopback << -1 << 64 << 4000 << 11011u;
            QTest::addRow("%s, size 65508", name) << kind << loopback << 65508 << 64 << 4000 << 11011u;
            QTest::addRow("%s, time-out -1", name) << kind << loopback << 56 << 64 << -1 << 11011u;
        }
    }
    void echoWithoutReply()
    {
        QFETCH(EchoSocketKind, kind);
        QFETCH(QString, address);
        QFETCH(int, size);
        QFETCH(int, ttl);
        QFETCH(int, timeout);
        QFETCH(uint, error);
        const std::unique_ptr<IcmpEcho> engine = proberEngine(kind);
        const Recorder recorder(*engine);
        engine->setAddress(address);
        engine->size = size;
        engine->ttl = ttl;
        engine->timeout = timeout;
        QCOMPARE(engine->ping(), 0);
        QCOMPARE(recorder.events, QStringList({u"echo request"_s, u"echo reply 0"_s}));
        QCOMPARE(engine->lastError(), error);
    }

    // On the loopback device a raw socket sees our own request too; it is never the answer.
    void ownRequestIsNoReply()
    {
        const InsideNamespace inside(network->silent);
        IcmpEcho engine(EchoSocketKind::Raw);
        engine.setAddress(u"127.0.0.1"_s);
        engine.timeout = 300;
        QCOMPARE(engine.ping(), 0);
        QCOMPARE(engine.lastError(), 11010u);
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
        engine->setAddress(u"127.0.0.1"_s);
        engine->size = IcmpEcho::largestSize;
        QCOMPARE(engine->ping(), 1);
        QCOMPARE(int(engine->reply().dataSize), IcmpEcho::largestSize);
    }

    void throwingReceiverLeavesTheEngineUsable()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Raw);
        engine->setAddress(u"127.0.0.1"_s);
        engine->onEchoReply = [](int) { throw std::runtime_error("receiver failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, engine->ping());
        engine->onEchoReply = {};
        QCOMPARE(engine->ping(), 1);
    }

    void interruptEndsTheWait()
    {
        const std::unique_ptr<IcmpEcho> engine = proberEngine(EchoSocketKind::Raw);
        engine->setAddress(QString::fromLatin1(TestNetwork::silentAddress));
        engine->timeout = IcmpEcho::longestWaitMs;
        std::thread other([&] { engine->interrupt(); });
        other.join();
        QCOMPARE(engine->ping(), 0);
        QCOMPARE(engine->lastError(), 11010u);
    }
};

QTEST_GUILESS_MAIN(TestIcmpEcho)
#include "tst_icmpecho.moc"
