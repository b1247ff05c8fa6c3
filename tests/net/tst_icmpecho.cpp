#include "net/icmpecho.h"
#include "net/latencyprobe.h"
#include "socketkinds.h"
#include "support/testnetwork.h"

#include <QTest>

#include <pcap/pcap.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
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

uint16_t big16(const unsigned char *bytes)
{
    return uint16_t(bytes[0] << 8 | bytes[1]);
}

// A program beside the silent host that answers echoes in its place: it waits for the request,
// then sends echo replies from the host's address with identifiers and sequences of its choice.
class EchoForger
{
public:
    // The identifier and the sequence of one forged reply, given those of the request.
    using Forgery = std::function<std::pair<uint16_t, uint16_t>(uint16_t identifier, uint16_t sequence)>;

    EchoForger(const QString &ns, std::vector<Forgery> forgeries)
    {
        const InsideNamespace inside(ns);
        m_socket = inside.entered ? ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP) : -1;
        if (m_socket >= 0)
            m_thread = std::thread([this, forgeries = std::move(forgeries)] { forge(forgeries); });
    }
    ~EchoForger()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_socket >= 0)
            ::close(m_socket);
    }
    EchoForger(const EchoForger &) = delete;
    EchoForger &operator=(const EchoForger &) = delete;

    bool ok() const { return m_socket >= 0; }

private:
    void forge(const std::vector<Forgery> &forgeries)
    {
        unsigned char packet[2048];
        sockaddr_in from{};
        for (int waits = 0; waits < 50; ++waits) {
            pollfd wait{m_socket, POLLIN, 0};
            if (::poll(&wait, 1, 100) <= 0)
                continue;
            socklen_t fromSize = sizeof from;
            const ssize_t received =
                ::recvfrom(m_socket, packet, sizeof packet, 0, reinterpret_cast<sockaddr *>(&from), &fromSize);
            const size_t header = received > 0 ? size_t(packet[0] & 0x0F) * 4 : 0;
            if (received < ssize_t(header + 8) || packet[header] != 8)
                continue; // not an echo request
            unsigned char *icmp = packet + header;
            const size_t length = size_t(received) - header;
            for (const Forgery &forgery : forgeries) {
                const auto [identifier, sequence] = forgery(big16(icmp + 4), big16(icmp + 6));
                icmp[0] = 0; // echo reply
                icmp[2] = icmp[3] = 0;
                icmp[4] = uint8_t(identifier >> 8);
                icmp[5] = uint8_t(identifier);
                icmp[6] = uint8_t(sequence >> 8);
                icmp[7] = uint8_t(sequence);
                uint32_t sum = 0;
                for (size_t i = 0; i + 1 < length; i += 2)
                    sum += big16(icmp + i);
                if (length % 2)
                    sum += uint32_t(icmp[length - 1]) << 8;
                while (sum >> 16)
                    sum = (sum & 0xFFFF) + (sum >> 16);
                icmp[2] = uint8_t(~sum >> 8);
                icmp[3] = uint8_t(~sum);
                ::sendto(m_socket, icmp, length, 0, reinterpret_cast<const sockaddr *>(&from), sizeof from);
            }
            return;
        }
    }

    int m_socket = -1;
    std::thread m_thread;
};

} // namespace

Q_DECLARE_METATYPE(EchoStatus)
Q_DECLARE_METATYPE(std::vector<EchoForger::Forgery>)

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

    // A reply counts only with the request's identifier and sequence both; and neither can be
    // guessed from the process id or the order of the echoes.
    void forgedReplies_data()
    {
        QTest::addColumn<EchoSocketKind>("kind");
        QTest::addColumn<std::vector<EchoForger::Forgery>>("forgeries");
        QTest::addColumn<EchoStatus>("status");
        using Forgery = EchoForger::Forgery;
        const Forgery exact = [](uint16_t identifier, uint16_t sequence) { return std::pair(identifier, sequence); };
        const Forgery otherIdentifier = [](uint16_t identifier, uint16_t sequence) {
            return std::pair(uint16_t(identifier + 1), sequence);
        };
        const Forgery otherSequence = [](uint16_t identifier, uint16_t sequence) {
            return std::pair(identifier, uint16_t(sequence + 1));
        };
        // Identifiers drawn from the process id and the count of engines, or handed out in turn
        // by the kernel, each with the first few sequence numbers.
        std::vector<Forgery> guesses;
        for (uint16_t engine = 0; engine < 64; ++engine) {
            for (uint16_t sequence = 0; sequence < 4; ++sequence) {
                const auto fromPid = uint16_t(::getpid() * 31 + engine * 0x1001);
                guesses.push_back([=](uint16_t, uint16_t) { return std::pair(fromPid, sequence); });
                guesses.push_back([=](uint16_t, uint16_t) { return std::pair(uint16_t(engine + 1), sequence); });
            }
        }
        for (const auto &[kind, name] : socketKinds) {
            QTest::addRow("%s, the request's identifier and sequence", name) << kind << std::vector{exact} << EchoStatus::Reply;
            QTest::addRow("%s, another identifier", name) << kind << std::vector{otherIdentifier} << EchoStatus::TimedOut;
            QTest::addRow("%s, another sequence", name) << kind << std::vector{otherSequence} << EchoStatus::TimedOut;
            QTest::addRow("%s, guessed", name) << kind << guesses << EchoStatus::TimedOut;
        }
    }
    void forgedReplies()
    {
        QFETCH(EchoSocketKind, kind);
        QFETCH(std::vector<EchoForger::Forgery>, forgeries);
        QFETCH(EchoStatus, status);
        const std::unique_ptr<IcmpEcho> engine = proberEngine(kind);
        QVERIFY(engine);
        const EchoForger forger(network->silent, forgeries);
        QVERIFY(forger.ok());
        const EchoOutcome outcome = engine->ping(testAddress(TestNetwork::silentAddress), EchoParameters{56, 1000, 64});
        QCOMPARE(outcome.status, status);
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
