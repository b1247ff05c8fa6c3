#include "platform/adapteraddresses.h"
#include "support/dualstacklink.h"
#include "support/livecapture.h"
#include "support/testnetwork.h"

#include <QHostAddress>
#include <QTest>
#include <QUdpSocket>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// A capture on "veth0" of a namespace, started from inside it: the thread and the socket it opens
// stay there.
struct NamespaceCapture : LiveCapture
{
    NamespaceCapture(const QString &ns, const QStringList &lan, const QStringList &adapterNetworks = {})
        : LiveCapture(QByteArrayLiteral("veth0"), lan, adapterNetworks)
    {
        const InsideNamespace inside(ns);
        entered = inside.entered;
        if (entered)
            start();
    }
    bool entered = false;
};

// A UDP socket bound in a namespace.
std::unique_ptr<QUdpSocket> udpIn(const QString &ns, const char *address)
{
    const InsideNamespace inside(ns);
    auto socket = std::make_unique<QUdpSocket>();
    if (!inside.entered || !socket->bind(QHostAddress(QString::fromLatin1(address)), 0))
        return nullptr;
    return socket;
}

// A TCP socket of `family` made in a namespace, bound to `address`.
int tcpIn(const QString &ns, const QHostAddress &address)
{
    const InsideNamespace inside(ns);
    if (!inside.entered)
        return -1;
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    const int fd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_storage local{};
    socklen_t size;
    if (v6) {
        auto &in6 = reinterpret_cast<sockaddr_in6 &>(local);
        in6.sin6_family = AF_INET6;
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&in6.sin6_addr, &bytes, 16);
        size = sizeof in6;
    } else {
        auto &in4 = reinterpret_cast<sockaddr_in &>(local);
        in4.sin_family = AF_INET;
        in4.sin_addr.s_addr = htonl(address.toIPv4Address());
        size = sizeof in4;
    }
    // Nothing the test does may wait for ever.
    const timeval patience{10, 0};
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&local), size) == 0
        && ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience) == 0
        && ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

sockaddr_storage socketAddress(int fd, socklen_t &size)
{
    sockaddr_storage address{};
    size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    return address;
}

} // namespace

// A dual-stack link as a satellite router gives it, with the program's capture on the computer's
// adapter: what crosses the link from outside counts in both IP versions, at its wire length,
// and TCP frames the adapter merged on receipt count as the segments the link carried.
class TestLiveDualStack : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (::geteuid() != 0)
            QSKIP("needs root (network namespaces, live capture); run the tests as root");
    }

    // The IPv4 LAN is listed; the IPv6 LAN is the adapter's own network as the system lists it.
    void bothFamiliesCountAtTheirWireLength()
    {
        DualStackLink link;
        QVERIFY2(link.ok, "could not set up the namespaces (the messages of ip are above)");
        QStringList networks;
        {
            const InsideNamespace inside(link.home);
            QVERIFY(inside.entered);
            networks = SystemAdapterAddresses().ipv6Networks("veth0");
        }
        QVERIFY2(networks.contains(u"2001:db8:1::2/64"_s), qPrintable(networks.join(u' ')));
        NamespaceCapture capture(link.home, {u"198.18.1.2"_s}, networks);
        QVERIFY(capture.entered);

        const auto receiver4 = udpIn(link.home, "198.18.1.2"), receiver6 = udpIn(link.home, "2001:db8:1::2");
        const auto sender4 = udpIn(link.gateway, "203.0.113.7"), sender6 = udpIn(link.gateway, "2001:db8:99::7");
        const auto homeSender = udpIn(link.home, "198.18.1.2");
        QVERIFY(receiver4 && receiver6 && sender4 && sender6 && homeSender);

        // Uploads until the capture is seen to run; they leave the downloads alone.
        QVERIFY2(waitFor([&] {
                     homeSender->writeDatagram(QByteArray(10, 'w'), sender4->localAddress(), sender4->localPort());
                     return capture.counters.uploadPackets.load() > 0 || !capture.failed().isEmpty();
                 }, 10000),
                 "the capture never counted a frame");
        QVERIFY2(capture.failed().isEmpty(), qPrintable(capture.failed()));

        constexpr int datagrams4 = 20, datagrams6 = 30, payload = 300;
        for (int i = 0; i < datagrams4; ++i)
            QCOMPARE(sender4->writeDatagram(QByteArray(payload, 'x'), receiver4->localAddress(), receiver4->localPort()),
                     qint64(payload));
        for (int i = 0; i < datagrams6; ++i)
            QCOMPARE(sender6->writeDatagram(QByteArray(payload, 'x'), receiver6->localAddress(), receiver6->localPort()),
                     qint64(payload));

        constexpr qint64 wire = datagrams4 * (payload + 8 + 20 + 14) + datagrams6 * (payload + 8 + 40 + 14);
        QVERIFY(waitFor([&] { return capture.counters.downloadPackets.load() >= datagrams4 + datagrams6; }, 10000));
        QTest::qWait(200); // nothing more may come
        QCOMPARE(capture.counters.downloadPackets.load(), qint64(datagrams4 + datagrams6));
        QCOMPARE(capture.counters.downloadedTotal.load(), wire);
        QCOMPARE(capture.meter.usedBytes(), int32_t(wire));
        capture.thread.stop();
        QCOMPARE(capture.thread.statistics().dropped, uint64_t(0));
        // Each family's receiver has a row of its own.
        QStringList hostRows;
        capture.hosts.take([&](HostAddress address, uint64_t bytes) {
            hostRows << QStringLiteral("%1=%2").arg(address.toString()).arg(bytes);
        });
        hostRows.sort();
        QCOMPARE(hostRows, (QStringList{QStringLiteral("198.18.1.2=%1").arg(datagrams4 * (payload + 8 + 20 + 14)),
                                        QStringLiteral("2001:db8:1::2=%1").arg(datagrams6 * (payload + 8 + 40 + 14))}));
    }

    // A TCP download with receive offload merging on the computer's adapter and segmentation off
    // at the router: the computer counts what the router's own capture saw leave, segment by
    // segment, in both IP versions.
    void mergedFramesCountAsTheLinkCarriedThem_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("lan"); // the computer's; the router's address and the neighbour
                                          // discovery between the two must not count
        QTest::addColumn<QString>("outside");
        QTest::newRow("IPv4") << u"198.18.1.2"_s << u"198.18.1.2"_s << u"203.0.113.7"_s;
        QTest::newRow("IPv6") << u"2001:db8:1::2"_s << u"2001:db8:1::/64"_s << u"2001:db8:99::7"_s;
    }
    void mergedFramesCountAsTheLinkCarriedThem()
    {
        QFETCH(QString, home);
        QFETCH(QString, lan);
        QFETCH(QString, outside);
        DualStackLink link;
        QVERIFY2(link.ok, "could not set up the namespaces (the messages of ip are above)");
        if (!link.ethtool(link.home, u"gro on"_s) || !link.ethtool(link.gateway, u"tso off gso off"_s))
            QSKIP("ethtool cannot set the veth offloads here");

        NamespaceCapture computer(link.home, {lan}), router(link.gateway, {outside});
        QVERIFY(computer.entered && router.entered);

        const int listener = tcpIn(link.home, QHostAddress(home));
        const int client = tcpIn(link.gateway, QHostAddress(outside));
        QVERIFY(listener >= 0 && client >= 0);
        QCOMPARE(::listen(listener, 1), 0);
        socklen_t size;
        const sockaddr_storage server = socketAddress(listener, size);

        // Both captures run before the download starts: the connection's first frames count.
        QVERIFY(waitFor([&] {
                    return (computer.thread.isRunning() && router.thread.isRunning())
                           || !computer.failed().isEmpty() || !router.failed().isEmpty();
                }, 10000));
        QTest::qWait(300);
        QVERIFY2(computer.failed().isEmpty() && router.failed().isEmpty(),
                 qPrintable(computer.failed() + router.failed()));

        constexpr qint64 bytes = 4 * 1024 * 1024;
        std::thread reader([listener] {
            const int connection = ::accept(listener, nullptr, nullptr);
            if (connection < 0)
                return;
            char buffer[65536];
            qint64 read = 0;
            while (read < bytes) {
                const ssize_t got = ::read(connection, buffer, sizeof buffer);
                if (got <= 0)
                    break;
                read += got;
            }
            ::close(connection);
        });
        const bool connected = ::connect(client, reinterpret_cast<const sockaddr *>(&server), size) == 0;
        const int connectError = connected ? 0 : errno;
        bool sent = connected;
        const QByteArray block(65536, 'd');
        for (qint64 written = 0; sent && written < bytes;) {
            const ssize_t put = ::write(client, block.constData(), size_t(block.size()));
            sent = put > 0;
            written += put;
        }
        ::shutdown(client, SHUT_WR);
        if (!connected)
            ::shutdown(listener, SHUT_RDWR); // wakes the accept
        reader.join();
        ::close(client);
        ::close(listener);
        QVERIFY2(connected, std::strerror(connectError));
        QVERIFY(sent);

        // Equal once both have flushed the connection's last frames.
        QVERIFY(waitFor([&] { return router.counters.uploadedTotal.load() > bytes; }, 10000));
        const bool equal = waitFor([&] {
            return computer.counters.downloadedTotal.load() == router.counters.uploadedTotal.load();
        }, 5000);
        computer.thread.stop();
        router.thread.stop();
        QCOMPARE(computer.thread.statistics().dropped + router.thread.statistics().dropped, uint64_t(0));
        if (computer.counters.downloadPackets.load() >= router.counters.uploadPackets.load())
            QSKIP("the adapter merged no frames here (no GRO on veth)");
        QVERIFY2(equal, qPrintable(u"the computer counted %1 bytes in %2 frames, the router sent %3 in %4"_s
                                       .arg(computer.counters.downloadedTotal.load())
                                       .arg(computer.counters.downloadPackets.load())
                                       .arg(router.counters.uploadedTotal.load())
                                       .arg(router.counters.uploadPackets.load())));
    }
};

QTEST_GUILESS_MAIN(TestLiveDualStack)
#include "tst_live_dualstack.moc"
