#include "capture/adapters.h"
#include "capture/classifier.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"
#include "frames.h"
#include "meter/fapmeter.h"

#include <QSet>
#include <QTest>

#include <arpa/inet.h>

using namespace Qt::StringLiterals;

class TestClassifier : public QObject
{
    Q_OBJECT

private:
    AppSettings settings;
    TrafficCounters counters;
    FapMeter meter;
    HostCounters hosts;
    CaptureContext context{settings, counters, meter, hosts};

    // "address=bytes" of each host counted since the last take, in slot order.
    QStringList takeHosts()
    {
        QStringList taken;
        hosts.take([&](HostAddress address, uint64_t bytes) {
            taken << QStringLiteral("%1=%2").arg(address.isIpv4() ? QString::number(address.ipv4()) : address.toString())
                         .arg(bytes);
        });
        return taken;
    }

    void feed(const TestFrame &frame)
    {
        classifyFrame(reinterpret_cast<u_char *>(&context), &frame.header,
                      frame.data());
        context.flush();
    }

private Q_SLOTS:
    void init()
    {
        settings.lanAddresses.assign({});
        settings.ignoredAddresses.assign({});
        settings.useAll192168 = true;
        settings.useAdapterIpv6 = true;
        context.adapterNetworks->assign({});
        context.link = LinkLayout{};
        context.mtu = 0;
        counters.resetInterface();
        counters.uploadedTotal = 0;
        meter.setUsedBytes(0);
        meter.setActiveLimit(96888422);
        takeHosts();
    }

    void canonicalAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected"); // -1: matches no address
        QTest::newRow("plain") << "192.168.0.10" << qint64(ip(192, 168, 0, 10));
        QTest::newRow("zeros") << "0.0.0.0" << qint64(0);
        QTest::newRow("top") << "255.255.255.255" << qint64(0xFFFFFFFFu);
        QTest::newRow("leading zeros") << "192.168.000.010" << qint64(-1);
        QTest::newRow("no ip defined") << "no ip defined" << qint64(-1);
        QTest::newRow("byte above 255") << "300.1.1.1" << qint64(-1);
        QTest::newRow("negative") << "-1.1.1.1" << qint64(-1);
        QTest::newRow("three parts") << "10.1.1" << qint64(-1);
        QTest::newRow("five parts") << "10.1.1.1.1" << qint64(-1);
        QTest::newRow("blank around") << " 10.1.1.1" << qint64(-1);
        QTest::newRow("trailing dot") << "10.1.1.1." << qint64(-1);
        QTest::newRow("empty") << "" << qint64(-1);
    }

    void canonicalAddress()
    {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        const auto parsed = parseCanonicalAddress(text);
        QCOMPARE(parsed ? qint64(*parsed) : qint64(-1), expected);
    }

    // IPv6 entries of a list: addresses, networks of any length, several in one first half.
    void ipv6Entries_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("listed");
        const QStringList mixed{u"10.0.0.1"_s, u"2001:db8:1::/64"_s, u"2001:db8:2::5"_s, u"2001:db8:2::9/127"_s,
                                u"2001:db8:300::/40"_s, u"2001:db8:4:5::/80"_s, u"::/0x"_s, u"fd00::/200"_s};
        QTest::newRow("in a /64") << mixed << u"2001:db8:1::ffff:1"_s << true;
        QTest::newRow("next /64") << mixed << u"2001:db8:1:1::1"_s << false;
        QTest::newRow("a whole address") << mixed << u"2001:db8:2::5"_s << true;
        QTest::newRow("beside a whole address") << mixed << u"2001:db8:2::6"_s << false;
        QTest::newRow("in a /127, same first half as an address") << mixed << u"2001:db8:2::8"_s << true;
        QTest::newRow("just past the /127") << mixed << u"2001:db8:2::a"_s << false;
        QTest::newRow("in a /40") << mixed << u"2001:db8:3ff:ffff::1"_s << true;
        QTest::newRow("past the /40") << mixed << u"2001:db8:400::1"_s << false;
        QTest::newRow("in an /80") << mixed << u"2001:db8:4:5:0:ffff::1"_s << true;
        QTest::newRow("past the /80") << mixed << u"2001:db8:4:5:1::1"_s << false;
        QTest::newRow("bad entries match nothing") << mixed << u"fd00::1"_s << false;
        QTest::newRow("IPv4 entries are no IPv6 ones") << mixed << u"::10.0.0.1"_s << false;
        QTest::newRow("everything") << QStringList{u"::/0"_s} << u"2a00::1"_s << true;
        QStringList many;
        for (int i = 0; i < 40; ++i)
            many << u"2001:db8:%1::/64"_s.arg(i, 0, 16);
        QTest::newRow("40 networks, the last") << many << u"2001:db8:27::1"_s << true;
        QTest::newRow("40 networks, none") << many << u"2001:db8:28::1"_s << false;
        QTest::newRow("empty list") << QStringList() << u"2001:db8:1::1"_s << false;
        // Hosts of one network share the first half the table places them by.
        QStringList hosts;
        for (int i = 1; i <= 40; ++i)
            hosts << u"2001:db8:5::%1"_s.arg(i, 0, 16);
        QTest::newRow("40 hosts of one network, the last") << hosts << u"2001:db8:5::28"_s << true;
        QTest::newRow("40 hosts of one network, another") << hosts << u"2001:db8:5::29"_s << false;
    }

    // An IPv4 address's place among the list's sorted addresses, which a host's slot is.
    void ipv4Places_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("place");
        const QStringList few{u"10.0.0.9"_s, u"0.0.0.0"_s, u"10.0.0.1"_s, u"10.0.0.9"_s, u"2001:db8::1"_s};
        QTest::newRow("first") << few << u"0.0.0.0"_s << 0;
        QTest::newRow("middle") << few << u"10.0.0.1"_s << 1;
        QTest::newRow("listed twice: its first place") << few << u"10.0.0.9"_s << 2;
        QTest::newRow("not listed") << few << u"10.0.0.2"_s << -1;
        QTest::newRow("empty list, 0.0.0.0") << QStringList() << u"0.0.0.0"_s << -1;
        QStringList many;
        for (int i = 0; i < 300; ++i)
            many << u"10.%1.%2.1"_s.arg(i / 256).arg(i % 256);
        QTest::newRow("300 addresses, the last") << many << u"10.1.43.1"_s << 299;
        QTest::newRow("300 addresses, none") << many << u"10.1.44.1"_s << -1;
    }
    void ipv4Places()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, address);
        QFETCH(int, place);
        QCOMPARE(AddressSet(entries).indexOf(*parseCanonicalAddress(address)), place);
    }
    void ipv6Entries()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, address);
        QFETCH(bool, listed);
        const auto parsed = parseIpv6Entry(address);
        QVERIFY(parsed);
        QCOMPARE(AddressSet(entries).contains(parsed->address), listed);
    }

    // Every row of the decision table, with the counters each verdict moves.
    void decisions_data()
    {
        QTest::addColumn<QStringList>("lan");
        QTest::addColumn<QStringList>("ignored");
        QTest::addColumn<bool>("use192");
        QTest::addColumn<quint32>("source");
        QTest::addColumn<quint32>("destination");
        QTest::addColumn<quint32>("captured");
        QTest::addColumn<int>("verdict"); // 0 neither, 1 download, 2 upload
        QTest::addColumn<quint32>("host"); // the LAN host a download is counted for; 0: none

        const QStringList lan{QStringLiteral("192.168.0.10")};
        const QStringList none;
        const QStringList ignoreOutside{QStringLiteral("203.0.113.7")};
        const quint32 outside = ip(203, 0, 113, 7), other = ip(198, 51, 100, 1), local = ip(192, 168, 0, 10);

        QTest::newRow("download") << lan << none << false << outside << local << 34u << 1 << local;
        QTest::newRow("upload") << lan << none << false << local << outside << 34u << 2 << 0u;
        QTest::newRow("download from ignored host")
            << lan << ignoreOutside << false << outside << local << 34u << 0 << 0u;
        QTest::newRow("upload to ignored host") << lan << ignoreOutside << false << local << outside << 34u << 0 << 0u;
        QTest::newRow("other outside host still counts")
            << lan << ignoreOutside << false << other << local << 34u << 1 << local;
        QTest::newRow("inside the LAN") << QStringList{QStringLiteral("192.168.0.10"), QStringLiteral("10.0.0.2")} << none
                                        << false << ip(10, 0, 0, 2) << local << 34u << 0 << 0u;
        QTest::newRow("other hosts") << lan << none << false << outside << other << 34u << 0 << 0u;
        QTest::newRow("ignoring a LAN address changes nothing")
            << lan << lan << false << outside << local << 34u << 1 << local;
        QTest::newRow("an ignored LAN host keeps its place in the LAN list")
            << QStringList{QStringLiteral("10.0.0.2"), QStringLiteral("192.168.0.10")}
            << QStringList{QStringLiteral("192.168.0.10"), QStringLiteral("10.0.0.2")} << false << outside << local
            << 34u << 1 << local;
        QTest::newRow("non-canonical entry matches nothing")
            << QStringList{QStringLiteral("192.168.000.010")} << none << false << outside << local << 34u << 0 << 0u;
        QTest::newRow("192.168 rule on") << none << none << true << outside << ip(192, 168, 5, 9) << 34u << 1
                                         << quint32(ip(192, 168, 5, 9));
        QTest::newRow("192.168 rule upload") << none << none << true << ip(192, 168, 5, 9) << outside << 34u << 2 << 0u;
        QTest::newRow("192.168 rule off") << none << none << false << outside << ip(192, 168, 5, 9) << 34u << 0 << 0u;
        QTest::newRow("192.168 inside")
            << none << none << true << ip(192, 168, 0, 2) << ip(192, 168, 0, 3) << 34u << 0 << 0u;
        QTest::newRow("192.169 is outside") << none << none << true << ip(192, 169, 0, 1) << ip(192, 168, 0, 3) << 34u
                                            << 1 << quint32(ip(192, 168, 0, 3));
        QTest::newRow("33 bytes captured") << lan << none << false << outside << local << 33u << 0 << 0u;
        // With the rule on, a guard below 34 would read a 192.168 address from beyond the frame
        // and count it, in any build.
        QTest::newRow("33 bytes captured, 192.168 rule on")
            << none << none << true << outside << local << 33u << 0 << 0u;
        QTest::newRow("30 bytes captured, 192.168 rule on")
            << none << none << true << outside << local << 30u << 0 << 0u;
        QTest::newRow("listed host outside 192.168") << QStringList{QStringLiteral("10.0.0.2")} << none << true << outside
                                                     << ip(10, 0, 0, 2) << 34u << 1 << quint32(ip(10, 0, 0, 2));
        QTest::newRow("14 bytes captured") << lan << none << false << outside << local << 14u << 0 << 0u;
    }

    void decisions()
    {
        QFETCH(QStringList, lan);
        QFETCH(QStringList, ignored);
        QFETCH(bool, use192);
        QFETCH(quint32, source);
        QFETCH(quint32, destination);
        QFETCH(quint32, captured);
        QFETCH(int, verdict);
        QFETCH(quint32, host);

        settings.lanAddresses.assign(lan);
        settings.ignoredAddresses.assign(ignored);
        settings.useAll192168 = use192;
        feed(ipv4Frame(source, destination, 1514, captured));

        const TrafficCounters::Tick tick = counters.takeTick();
        QCOMPARE(tick.downloadBytes, verdict == 1 ? 1514 : 0);
        QCOMPARE(tick.uploadBytes, verdict == 2 ? 1514 : 0);
        QCOMPARE(tick.packets, verdict == 0 ? 0 : 1);
        QCOMPARE(counters.downloadedTotal.load(), verdict == 1 ? 1514 : 0);
        QCOMPARE(counters.uploadedTotal.load(), verdict == 2 ? 1514 : 0);
        QCOMPARE(counters.downloadPackets.load(), verdict == 1 ? 1 : 0);
        QCOMPARE(counters.uploadPackets.load(), verdict == 2 ? 1 : 0);
        QCOMPARE(meter.usedBytes(), verdict == 1 ? 1514 : 0);
        QCOMPARE(takeHosts(), host ? QStringList{QStringLiteral("%1=1514").arg(host)} : QStringList());
    }

    // Each host's bytes are summed over the frames of a batch and over batches until taken; a
    // listed host keeps its address, and an address that is no longer listed counts for nobody.
    void hostsAddUpUntilTaken()
    {
        settings.lanAddresses.assign({QStringLiteral("10.0.0.2"), QStringLiteral("10.0.0.9")});
        const quint32 outside = ip(203, 0, 113, 7);
        // One batch of three frames, then a batch of one.
        for (quint32 destination : {ip(10, 0, 0, 9), ip(192, 168, 1, 1), ip(10, 0, 0, 9)}) {
            const TestFrame frame = ipv4Frame(outside, destination, 100);
            classifyFrame(reinterpret_cast<u_char *>(&context), &frame.header, frame.data());
        }
        context.flush();
        feed(ipv4Frame(outside, ip(10, 0, 0, 9), 1000));
        QCOMPARE(takeHosts(), (QStringList{QStringLiteral("%1=100").arg(ip(192, 168, 1, 1)),
                                           QStringLiteral("%1=1200").arg(ip(10, 0, 0, 9))}));
        QCOMPARE(takeHosts(), QStringList());
        settings.lanAddresses.assign({QStringLiteral("10.0.0.2")});
        feed(ipv4Frame(outside, ip(10, 0, 0, 9), 1000));
        QCOMPARE(takeHosts(), QStringList());
    }

    // IPv6 LAN hosts get rows of their own beside the IPv4 ones, summed over a batch; an IPv6
    // download to a host outside the LAN, or from it, counts for nobody. The LAN is 192.168.*.*,
    // 2001:db8:1::/64 and 2001:db8:5::9.
    void ipv6Hosts_data()
    {
        QTest::addColumn<QStringList>("frames"); // "source>destination", 100 bytes each, one batch
        QTest::addColumn<QStringList>("expected"); // sorted "address=bytes"
        QTest::newRow("one IPv6 host") << QStringList{u"2001:db8:7::7>2001:db8:1::10"_s}
                                       << QStringList{u"2001:db8:1::10=100"_s};
        QTest::newRow("two IPv6 hosts, one twice")
            << QStringList{u"2001:db8:7::7>2001:db8:1::10"_s, u"2001:db8:7::8>2001:db8:5::9"_s,
                           u"2001:db8:7::7>2001:db8:1::10"_s}
            << QStringList{u"2001:db8:1::10=200"_s, u"2001:db8:5::9=100"_s};
        QTest::newRow("IPv4 and IPv6 hosts apart")
            << QStringList{u"203.0.113.7>192.168.1.5"_s, u"2001:db8:7::7>2001:db8:1:0:1234::5"_s}
            << QStringList{u"2001:db8:1:0:1234::5=100"_s, QStringLiteral("%1=100").arg(ip(192, 168, 1, 5))};
        QTest::newRow("upload and outside traffic count for nobody")
            << QStringList{u"2001:db8:1::10>2001:db8:7::7"_s, u"2001:db8:7::7>2001:db8:8::8"_s} << QStringList{};
        // More downloads of each family than the capture notes before summing them, uploads
        // between them.
        QStringList longBatch;
        for (int i = 0; i < 700; ++i) {
            longBatch << u"2001:db8:7::7>2001:db8:1::10"_s << u"203.0.113.7>192.168.1.5"_s
                      << u"2001:db8:1::10>2001:db8:7::7"_s;
        }
        QTest::newRow("a long batch")
            << longBatch << QStringList{u"2001:db8:1::10=70000"_s, QStringLiteral("%1=70000").arg(ip(192, 168, 1, 5))};
    }

    void ipv6Hosts()
    {
        QFETCH(QStringList, frames);
        QFETCH(QStringList, expected);
        settings.lanAddresses.assign({u"2001:db8:1::/64"_s, u"2001:db8:5::9"_s});
        for (const QString &text : frames) {
            const QStringList ends = text.split(u'>');
            const QByteArray source = ends[0].toLatin1(), destination = ends[1].toLatin1();
            const TestFrame frame = source.contains(':')
                                        ? frameOf(QByteArray(12, '\x11') + QByteArray::fromHex("86dd")
                                                      + ipv6Header(source.constData(), destination.constData()),
                                                  100)
                                        : ipv4Frame(ntohl(inet_addr(source.constData())),
                                                    ntohl(inet_addr(destination.constData())), 100);
            classifyFrame(reinterpret_cast<u_char *>(&context), &frame.header, frame.data());
        }
        context.flush();
        QStringList taken = takeHosts();
        taken.sort();
        QCOMPARE(taken, expected);
    }

    // More IPv6 hosts than the table holds: each host that found a slot keeps it and counts
    // once, the others count in the totals alone, and nothing is lost from the totals.
    void fullIpv6TableLosesNothingFromTheTotals()
    {
        settings.lanAddresses.assign({u"2001:db8:1::/64"_s});
        constexpr int hostCount = int(HostCounters::ipv6Slots) + 300;
        const auto frameTo = [](int host) {
            const QByteArray destination = QStringLiteral("2001:db8:1::%1").arg(host + 1, 0, 16).toLatin1();
            return frameOf(QByteArray(12, '\x11') + QByteArray::fromHex("86dd")
                               + ipv6Header("2001:db8:7::7", destination.constData()),
                           100);
        };
        // Two rounds over every host, a batch of 64 frames at a time.
        for (int round = 0; round < 2; ++round) {
            for (int host = 0; host < hostCount; ++host) {
                const TestFrame frame = frameTo(host);
                classifyFrame(reinterpret_cast<u_char *>(&context), &frame.header, frame.data());
                if (host % 64 == 63)
                    context.flush();
            }
        }
        context.flush();
        QCOMPARE(counters.downloadedTotal.load(), qint64(2 * hostCount * 100));
        QSet<QString> seen;
        qint64 hostBytes = 0;
        hosts.take([&](HostAddress address, uint64_t bytes) {
            QVERIFY(!address.isIpv4());
            QVERIFY(!seen.contains(address.toString()));
            seen.insert(address.toString());
            QCOMPARE(bytes, uint64_t(200));
            hostBytes += qint64(bytes);
        });
        QVERIFY(seen.size() <= int(HostCounters::ipv6Slots));
        QVERIFY(seen.size() > int(HostCounters::ipv6Slots) * 3 / 4);
        QVERIFY(hostBytes < counters.downloadedTotal.load());
    }

    // Every link type with IPv4 and IPv6, tags, other protocols and short captures. The LAN is
    // 192.168.*.* and 2001:db8:1::/64; 2001:db8:99::/48 and 2001:db8:1::99 are ignored. A
    // counted frame counts its IP packet plus 14, whatever link header carried it.
    void frameTypes_data()
    {
        QTest::addColumn<int>("linkType");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<quint32>("wire");
        QTest::addColumn<quint32>("ipLength"); // the wire length less the link header and its tags
        QTest::addColumn<int>("verdict");      // 0 neither, 1 download, 2 upload

        const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
        const QByteArray v4Down = ipv4Header(ip(203, 0, 113, 7), ip(192, 168, 0, 10));
        const QByteArray v4Up = ipv4Header(ip(192, 168, 0, 10), ip(203, 0, 113, 7));
        const QByteArray v6Down = ipv6Header("2001:db8:7::7", "2001:db8:1::10");
        const QByteArray v6Up = ipv6Header("2001:db8:1::10", "2001:db8:7::7");
        const QByteArray mac(12, '\x11');
        const QByteArray eth4 = mac + hex("0800"), eth6 = mac + hex("86dd");
        const QByteArray tag = hex("81000005"), outerTag = hex("88a80064");
        const QByteArray cooked1 = hex("0000000100060011223344550000"), cooked2Tail = hex("000000000001000100060011223344550000");

        const auto row = [](const char *name, int linkType, const QByteArray &link, const QByteArray &ipPart,
                            quint32 ipLength, int verdict) {
            QTest::newRow(name) << linkType << link + ipPart << quint32(link.size()) + ipLength << ipLength << verdict;
        };
        row("Ethernet IPv4 download", DLT_EN10MB, eth4, v4Down, 1000, 1);
        row("Ethernet IPv4 upload", DLT_EN10MB, eth4, v4Up, 1000, 2);
        row("Ethernet IPv6 download", DLT_EN10MB, eth6, v6Down, 1000, 1);
        row("Ethernet IPv6 upload", DLT_EN10MB, eth6, v6Up, 1000, 2);
        row("one tag IPv4", DLT_EN10MB, mac + tag + hex("0800"), v4Down, 1000, 1);
        row("one tag IPv6", DLT_EN10MB, mac + tag + hex("86dd"), v6Down, 1000, 1);
        row("802.1ad and 802.1Q tags IPv4", DLT_EN10MB, mac + outerTag + tag + hex("0800"), v4Down, 1000, 1);
        row("two 802.1Q tags IPv6", DLT_EN10MB, mac + tag + tag + hex("86dd"), v6Up, 1000, 2);
        row("three tags are not read", DLT_EN10MB, mac + tag + tag + tag + hex("0800"), v4Down, 1000, 0);
        row("IPv6 type with an IPv4 header", DLT_EN10MB, eth6, v4Down + QByteArray(20, '\0'), 1000, 0);
        row("ARP", DLT_EN10MB, mac + hex("0806"),
            hex("0001080006040001001122334455cb007107000000000000c0a8000a") + QByteArray(20, '\0'), 1000, 0);
        row("LLDP", DLT_EN10MB, mac + hex("88cc"), v4Down, 1000, 0);
        row("tagged ARP", DLT_EN10MB, mac + tag + hex("0806"), v4Down, 1000, 0);
        row("cooked v1 IPv4", DLT_LINUX_SLL, cooked1 + hex("0800"), v4Down, 1000, 1);
        row("cooked v1 IPv6", DLT_LINUX_SLL, cooked1 + hex("86dd"), v6Down, 1000, 1);
        row("cooked v1 ARP", DLT_LINUX_SLL, cooked1 + hex("0806"), v4Down, 1000, 0);
        row("cooked v2 IPv4", DLT_LINUX_SLL2, hex("0800") + cooked2Tail, v4Up, 1000, 2);
        row("cooked v2 IPv6", DLT_LINUX_SLL2, hex("86dd") + cooked2Tail, v6Up, 1000, 2);
        row("cooked v2 other", DLT_LINUX_SLL2, hex("88cc") + cooked2Tail, v6Up, 1000, 0);
        row("raw IPv4", DLT_RAW, {}, v4Down, 1000, 1);
        row("raw IPv6", DLT_RAW, {}, v6Down, 1000, 1);
        row("raw IPv4 link type", DLT_IPV4, {}, v4Up, 1000, 2);
        row("raw version 5", DLT_RAW, {}, hex("50") + v4Down.mid(1), 1000, 0);
        row("null IPv4, little-endian", DLT_NULL, hex("02000000"), v4Down, 1000, 1);
        row("null IPv6 of Linux", DLT_NULL, hex("0a000000"), v6Down, 1000, 1);
        row("null IPv6 of NetBSD and OpenBSD", DLT_NULL, hex("18000000"), v6Down, 1000, 1);
        row("null IPv6 of FreeBSD, big-endian", DLT_NULL, hex("0000001c"), v6Down, 1000, 1);
        row("loop IPv6 of macOS", DLT_LOOP, hex("0000001e"), v6Up, 1000, 2);
        row("null other family", DLT_NULL, hex("07000000"), v4Down, 1000, 0);
        row("null family in the middle", DLT_NULL, hex("00020000"), v4Down, 1000, 0);
        // Short captures: the IP header must be whole up to its destination address.
        row("IPv4 cut before its last address byte", DLT_EN10MB, eth4, v4Down.left(19), 1000, 0);
        row("IPv6 cut before its last address byte", DLT_EN10MB, eth6, v6Down.left(39), 1000, 0);
        row("IPv6 header whole", DLT_EN10MB, eth6, v6Down, 40, 1);
        row("tag cut", DLT_EN10MB, mac + hex("8100"), QByteArray(2, '\0'), 1000, 0);
        row("cooked header cut", DLT_LINUX_SLL, cooked1.left(10), {}, 1000, 0);
        row("raw, nothing captured", DLT_RAW, {}, {}, 1000, 0);
        // Extension headers come after the addresses; the payload length is not read.
        row("IPv6 with a hop-by-hop header", DLT_EN10MB, eth6,
            ipv6Header("2001:db8:7::7", "2001:db8:1::10", 0) + QByteArray(8, '\0'), 1000, 1);
        row("IPv6 from an ignored network", DLT_EN10MB, eth6, ipv6Header("2001:db8:99::7", "2001:db8:1::10"), 1000, 0);
        row("IPv6 to an ignored network", DLT_EN10MB, eth6, ipv6Header("2001:db8:1::10", "2001:db8:99:5::1"), 1000, 0);
        row("IPv6 to a LAN host that is ignored", DLT_EN10MB, eth6, ipv6Header("2001:db8:7::7", "2001:db8:1::99"), 1000,
            1);
        row("IPv6 outside to outside", DLT_EN10MB, eth6, ipv6Header("2001:db8:7::7", "2001:db8:2::10"), 1000, 0);
        row("IPv6 inside the LAN", DLT_EN10MB, eth6, ipv6Header("2001:db8:1::7", "2001:db8:1::10"), 1000, 0);
        row("link-local source", DLT_EN10MB, eth6, ipv6Header("fe80::1", "2001:db8:1::10"), 1000, 0);
        row("link-local destination", DLT_EN10MB, eth6, ipv6Header("2001:db8:1::10", "febf::1"), 1000, 0);
        row("multicast destination", DLT_EN10MB, eth6, ipv6Header("2001:db8:1::10", "ff02::1"), 1000, 0);
        row("multicast source", DLT_EN10MB, eth6, ipv6Header("ff0e::1", "2001:db8:1::10"), 1000, 0);
        row("unique-local source", DLT_EN10MB, eth6, ipv6Header("fd12:3456::1", "2001:db8:1::10"), 1000, 0);
        row("unique-local fc00::/7 lower half", DLT_EN10MB, eth6, ipv6Header("2001:db8:1::10", "fc00::1"), 1000, 0);
        row("loopback source", DLT_EN10MB, eth6, ipv6Header("::1", "2001:db8:1::10"), 1000, 0);
        row("fec0:: is neither link-local nor unique-local", DLT_EN10MB, eth6,
            ipv6Header("fec0::1", "2001:db8:1::10"), 1000, 1);
        row("IPv4-mapped 192.168 is not the 192.168 rule", DLT_EN10MB, eth6,
            ipv6Header("2001:db8:7::7", "::ffff:192.168.0.10"), 1000, 0);
    }

    void frameTypes()
    {
        QFETCH(int, linkType);
        QFETCH(QByteArray, frame);
        QFETCH(quint32, wire);
        QFETCH(quint32, ipLength);
        QFETCH(int, verdict);

        settings.lanAddresses.assign({QStringLiteral("2001:db8:1::/64")});
        settings.ignoredAddresses.assign({QStringLiteral("2001:db8:99::/48"), QStringLiteral("2001:db8:1::99")});
        context.link = *linkLayoutFor(linkType);
        feed(frameOf(frame, wire));

        const int counted = int(ipLength) + 14;
        const TrafficCounters::Tick tick = counters.takeTick();
        QCOMPARE(tick.downloadBytes, verdict == 1 ? counted : 0);
        QCOMPARE(tick.uploadBytes, verdict == 2 ? counted : 0);
        QCOMPARE(tick.packets, verdict == 0 ? 0 : 1);
        QCOMPARE(meter.usedBytes(), verdict == 1 ? counted : 0);
    }

    // A merged TCP download counts each segment's Ethernet, IP and TCP headers: the segment size
    // is the MTU less the IP and TCP headers with their options.
    void mergedFrames_data()
    {
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<quint32>("ipLength");
        QTest::addColumn<quint32>("mtu");
        QTest::addColumn<int>("counted");

        const QByteArray eth4 = QByteArray(12, '\x11') + QByteArray::fromHex("0800");
        const QByteArray eth6 = QByteArray(12, '\x11') + QByteArray::fromHex("86dd");
        const QByteArray tcp4 = eth4 + ipv4Header(ip(203, 0, 113, 7), ip(192, 168, 0, 10), 6);
        const QByteArray tcp6 = eth6 + ipv6Header("2001:db8:7::7", "2001:db8:1::10", 6);
        const QByteArray plain = tcpHeader(5), stamped = tcpHeader(8);

        // 40 bytes of headers, 1460 a segment: 1461 bytes of payload are two segments.
        QTest::newRow("IPv4 one byte over") << tcp4 + plain << 1501u << 1500u << 1461 + 2 * 54;
        QTest::newRow("IPv4 at the MTU") << tcp4 + plain << 1500u << 1500u << 1514;
        QTest::newRow("IPv4 below the MTU") << tcp4 + plain << 600u << 1500u << 614;
        // Timestamps: 52 bytes of headers, 1448 a segment; 44 whole segments.
        QTest::newRow("IPv4 with options, 64 KB") << tcp4 + stamped << 44u * 1448 + 52 << 1500u << 44 * 1448 + 44 * 66;
        QTest::newRow("IPv4 64 KB, last segment short") << tcp4 + plain << 65535u << 1500u << 65495 + 45 * 54;
        QTest::newRow("IPv4 with IP options")
            << eth4 + ipv4Header(ip(203, 0, 113, 7), ip(192, 168, 0, 10), 6, 6) + plain << 3000u << 1500u
            << 2956 + 3 * 58;
        QTest::newRow("IPv4 at a 9000 MTU") << tcp4 + plain << 9000u << 9000u << 9014;
        QTest::newRow("IPv4 over a 9000 MTU") << tcp4 + plain << 17921u << 9000u << 17881 + 2 * 54;
        // 60 bytes of headers, 1440 a segment.
        QTest::newRow("IPv6 one byte over") << tcp6 + plain << 1501u << 1500u << 1441 + 2 * 74;
        QTest::newRow("IPv6 at the MTU") << tcp6 + plain << 1500u << 1500u << 1514;
        QTest::newRow("IPv6 with options, 64 KB") << tcp6 + stamped << 45u * 1428 + 72 << 1500u << 45 * 1428 + 45 * 86;
        // As captured: no MTU, not TCP, an extension header before TCP, a TCP header not captured.
        QTest::newRow("no MTU") << tcp4 + plain << 65535u << 0u << 65549;
        QTest::newRow("UDP over the MTU")
            << eth4 + ipv4Header(ip(203, 0, 113, 7), ip(192, 168, 0, 10)) + plain << 4000u << 1500u << 4014;
        QTest::newRow("IPv6 hop-by-hop before TCP")
            << eth6 + ipv6Header("2001:db8:7::7", "2001:db8:1::10", 0) + plain << 4000u << 1500u << 4014;
        QTest::newRow("TCP length not captured") << tcp4 + plain.left(12) << 4000u << 1500u << 4014;
        QTest::newRow("TCP length byte captured") << tcp4 + plain.left(13) << 3001u << 1500u << 2961 + 3 * 54;
        QTest::newRow("TCP header length below 20") << tcp4 + tcpHeader(4) + QByteArray(4, '\0') << 4000u << 1500u
                                                    << 4014;
        QTest::newRow("headers as long as the MTU") << tcp4 + tcpHeader(15) << 4000u << 80u << 4014;
    }

    void mergedFrames()
    {
        QFETCH(QByteArray, frame);
        QFETCH(quint32, ipLength);
        QFETCH(quint32, mtu);
        QFETCH(int, counted);

        settings.lanAddresses.assign({QStringLiteral("2001:db8:1::/64")});
        context.mtu = mtu;
        feed(frameOf(frame, 14 + ipLength));
        QCOMPARE(counters.takeTick().downloadBytes, counted);
    }

    // The adapter's own IPv6 networks are the LAN's while the rule is on, as they come and go.
    void adapterNetworksFollowTheAdapter()
    {
        settings.useAll192168 = false;
        const QByteArray eth6 = QByteArray(12, '\0') + QByteArray::fromHex("86dd");
        const TestFrame download = frameOf(eth6 + ipv6Header("2001:db8:7::7", "2001:db8:5:0:1::9"), 1000);
        const TestFrame upload = frameOf(eth6 + ipv6Header("2001:db8:5::3", "2001:db8:7::7"), 500);
        const auto counted = [&] {
            feed(download);
            feed(upload);
            const TrafficCounters::Tick tick = counters.takeTick();
            return QStringLiteral("%1/%2").arg(tick.downloadBytes).arg(tick.uploadBytes);
        };
        QCOMPARE(counted(), QStringLiteral("0/0"));
        context.adapterNetworks->assign({QStringLiteral("2001:db8:5::3/64")});
        QCOMPARE(counted(), QStringLiteral("1000/500"));
        // Only the address itself: the download's destination is another machine of the network.
        context.adapterNetworks->assign({QStringLiteral("2001:db8:5::3/128")});
        QCOMPARE(counted(), QStringLiteral("0/500"));
        context.adapterNetworks->assign({QStringLiteral("2001:db8:5::3/64")});
        settings.useAdapterIpv6 = false;
        QCOMPARE(counted(), QStringLiteral("0/0"));
        settings.useAdapterIpv6 = true;
        context.adapterNetworks->assign({});
        QCOMPARE(counted(), QStringLiteral("0/0"));
    }

    void bucketClampsWhileTotalsGrow()
    {
        settings.lanAddresses.assign({QStringLiteral("192.168.0.10")});
        meter.setActiveLimit(96888422);
        meter.setUsedBytes(96888422 - 1000);
        feed(ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 0, 10), 1514));
        QCOMPARE(meter.usedBytes(), 96888422);
        QCOMPARE(counters.downloadedTotal.load(), 1514);
        QCOMPARE(counters.takeTick().downloadBytes, 1514);
    }

    void meanPacketSizeConverges()
    {
        const TestFrame frame = ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 0, 10), 1000);
        feed(frame);
        QCOMPARE(counters.meanPacketSize.load(), 1.0f);
        for (int i = 1; i < 1000; ++i)
            feed(frame);
        // After n frames of size s from 0 the mean is s * (1 - 0.999^n): 632 after a thousand.
        QVERIFY(qAbs(counters.meanPacketSize.load() - 632.3f) < 0.5f);
        for (int i = 0; i < 9000; ++i)
            feed(frame);
        QVERIFY(qAbs(counters.meanPacketSize.load() - 1000.0f) < 1.0f);
    }

    void resetKeepsUploadTotal()
    {
        feed(ipv4Frame(ip(192, 168, 0, 10), ip(203, 0, 113, 7), 60));
        feed(ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 0, 10), 70));
        counters.resetInterface();
        QCOMPARE(counters.uploadedTotal.load(), 60);
        QCOMPARE(counters.downloadedTotal.load(), 0);
        QCOMPARE(counters.downloadPackets.load(), 0);
        QCOMPARE(counters.uploadPackets.load(), 0);
        QCOMPARE(counters.meanPacketSize.load(), 0.0f);
        const TrafficCounters::Tick tick = counters.takeTick();
        QCOMPARE(tick.downloadBytes + tick.uploadBytes + tick.packets, 0);
    }

    // Totals are 64-bit: an always-on monitor passes 2 GiB within hours.
    void totalsDoNotWrapAt2GiB()
    {
        counters.downloadedTotal = 2147483000;
        feed(ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 0, 10), 1514));
        QCOMPARE(counters.downloadedTotal.load(), qint64(2147483000) + 1514);
    }

    void adapterRows()
    {
        QCOMPARE(adapterRowText(nullptr, "eth0"), QStringLiteral("No description available (eth0)"));
        QCOMPARE(adapterRowText("Loopback device", "lo"), QStringLiteral("Loopback device (lo)"));
    }

    // The row selected at load: the stored device name decides, the stored row only for a file
    // written before names were stored.
    void adapterRowAtLoad_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("selected");
        QTest::newRow("name at its stored row") << QStringLiteral("wg0") << 2 << 2;
        QTest::newRow("name now at another row") << QStringLiteral("wg0") << 0 << 2;
        QTest::newRow("name gone, row taken by another") << QStringLiteral("ppp0") << 1 << -1;
        QTest::newRow("name matches exactly, not by case") << QStringLiteral("WG0") << 2 << -1;
        QTest::newRow("old file: the row") << QString() << 1 << 1;
        QTest::newRow("old file: row beyond the list") << QString() << 3 << -1;
        QTest::newRow("neither name nor row") << QString() << -1 << -1;
    }

    void adapterRowAtLoad()
    {
        QFETCH(QString, name);
        QFETCH(int, row);
        QFETCH(int, selected);
        const QStringList devices{QStringLiteral("eth0"), QStringLiteral("any"), QStringLiteral("wg0")};
        QCOMPARE(adapterRowFor(devices, name, row), selected);
    }
};

QTEST_GUILESS_MAIN(TestClassifier)
#include "tst_classifier.moc"
