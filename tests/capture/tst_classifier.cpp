#include "capture/adapters.h"
#include "capture/classifier.h"
#include "meter/trafficcounters.h"
#include "settings/appsettings.h"
#include "frames.h"
#include "meter/fapmeter.h"

#include <QTest>

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
        hosts.take([&](uint32_t address, uint64_t bytes) { taken << QStringLiteral("%1=%2").arg(address).arg(bytes); });
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

    // ARP and IPv6 frames are read at the same offsets: counted only when those bytes happen to
    // form an outside/LAN pair.
    void otherProtocolsAreReadAtTheSameOffsets()
    {
        settings.useAll192168 = true;
        // An ARP request: bytes 26-29 hold the sender hardware address's tail and the first half of
        // its IP (44 55 c0 a8), bytes 30-33 the rest (00 01 00 00): two outside addresses.
        const QByteArray arp = QByteArray::fromHex("ffffffffffff" "001122334455" "0806" "0001" "0800" "06" "04" "0001"
                                                   "001122334455" "c0a80001" "000000000000" "c0a80002");
        pcap_pkthdr header{};
        header.caplen = header.len = uint32_t(arp.size());
        classifyFrame(reinterpret_cast<u_char *>(&context), &header, reinterpret_cast<const u_char *>(arp.constData()));
        context.flush();
        QCOMPARE(counters.takeTick().packets, 0);

        // IPv6: bytes 26-29 are inside the source address; make them 203.0.113.7 and bytes 30-33
        // 192.168.1.1 and the frame counts as a download, as the fixed offsets say.
        TestFrame v6 = ipv4Frame(ip(203, 0, 113, 7), ip(192, 168, 1, 1), 100, 54);
        v6.bytes[12] = 0x86;
        v6.bytes[13] = 0xdd;
        v6.bytes[14] = 0x60;
        feed(v6);
        QCOMPARE(counters.takeTick().downloadBytes, 100);
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
