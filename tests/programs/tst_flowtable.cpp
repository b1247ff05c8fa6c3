#include "programs/flowtable.h"

#include <QByteArray>
#include <QHash>
#include <QTest>

#include <arpa/inet.h>

#include <atomic>
#include <thread>

Q_DECLARE_METATYPE(FlowKey)

using namespace Qt::StringLiterals;

namespace {

constexpr uint32_t own4 = 0xC0A80105;    // 192.168.1.5, this computer
constexpr uint32_t other4 = 0xC0A80106;  // 192.168.1.6, another on the LAN
constexpr uint32_t remote4 = 0xCB007107; // 203.0.113.7
const FlowAddress own6{0x20010db800010000ull, 5};
const FlowAddress remote6{0x20010db800990000ull, 7};

QByteArray ports(uint16_t source, uint16_t destination)
{
    QByteArray bytes(4, '\0');
    bytes[0] = char(source >> 8), bytes[1] = char(source), bytes[2] = char(destination >> 8), bytes[3] = char(destination);
    return bytes;
}

QByteArray ipv4(uint32_t source, uint32_t destination, uint8_t protocol, const QByteArray &payload, bool laterFragment = false)
{
    QByteArray header(20, '\0');
    header[0] = char(0x45);
    header[6] = laterFragment ? char(0x00) : char(0x40);
    header[7] = laterFragment ? char(0xB9) : char(0);
    header[9] = char(protocol);
    const uint32_t addresses[2] = {htonl(source), htonl(destination)};
    std::memcpy(header.data() + 12, addresses, 8);
    return header + payload;
}

QByteArray ipv6(const FlowAddress &source, const FlowAddress &destination, uint8_t protocol, const QByteArray &payload)
{
    QByteArray header(40, '\0');
    header[0] = char(0x60);
    header[6] = char(protocol);
    const auto put = [&](int at, const FlowAddress &address) {
        for (int i = 0; i < 8; ++i) {
            header[at + i] = char(address.high >> (56 - 8 * i));
            header[at + 8 + i] = char(address.low >> (56 - 8 * i));
        }
    };
    put(8, source);
    put(24, destination);
    return header + payload;
}

// The ring's records summed by flow.
QHash<FlowKey, std::pair<uint64_t, uint64_t>> drained(FlowRing &ring, int *records = nullptr)
{
    QHash<FlowKey, std::pair<uint64_t, uint64_t>> sums;
    int count = 0;
    ring.drain([&](const FlowBytes &bytes) {
        sums[bytes.key].first += bytes.download;
        sums[bytes.key].second += bytes.upload;
        ++count;
    });
    if (records)
        *records = count;
    return sums;
}

struct Flows
{
    Flows()
    {
        local.assign({FlowAddress::fromIpv4(own4), own6});
    }
    void add(const QByteArray &packet, bool download, bool upload, uint32_t length)
    {
        pending.add(reinterpret_cast<const unsigned char *>(packet.constData()), uint32_t(packet.size()), download,
                    upload, length);
    }
    FlowRing ring;
    LocalAddresses local;
    PendingFlows pending{ring, local};
};

} // namespace

class FlowTableTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void frameToFlow_data()
    {
        QTest::addColumn<QByteArray>("packet");
        QTest::addColumn<bool>("download");
        QTest::addColumn<bool>("upload");
        QTest::addColumn<bool>("counts");
        QTest::addColumn<FlowKey>("key");
        const FlowAddress remote = FlowAddress::fromIpv4(remote4);
        QTest::newRow("TCP download") << ipv4(remote4, own4, 6, ports(443, 50000)) << true << false << true
                                      << FlowKey{remote, 50000, 443, 6};
        QTest::newRow("TCP upload") << ipv4(own4, remote4, 6, ports(50000, 443)) << false << true << true
                                    << FlowKey{remote, 50000, 443, 6};
        QTest::newRow("UDP over IPv6") << ipv6(remote6, own6, 17, ports(53, 40000)) << true << false << true
                                       << FlowKey{remote6, 40000, 53, 17};
        QTest::newRow("ICMP: no ports") << ipv4(remote4, own4, 1, ports(1, 2)) << true << false << true << FlowKey{};
        QTest::newRow("later fragment: no ports") << ipv4(remote4, own4, 17, ports(1, 2), true) << true << false << true
                                                  << FlowKey{};
        QTest::newRow("ports not captured") << ipv4(remote4, own4, 6, QByteArray(2, '\1')) << true << false << true
                                            << FlowKey{};
        QTest::newRow("another host's download") << ipv4(remote4, other4, 6, ports(443, 50000)) << true << false << false
                                                 << FlowKey{};
        QTest::newRow("another host's IPv6 upload") << ipv6(FlowAddress{own6.high, 6}, remote6, 6, ports(1, 2)) << false
                                                    << true << false << FlowKey{};
        QTest::newRow("neither") << ipv4(remote4, own4, 6, ports(443, 50000)) << false << false << false << FlowKey{};
        QTest::newRow("short header") << ipv4(remote4, own4, 6, {}).left(19) << true << false << false << FlowKey{};
    }
    void frameToFlow()
    {
        QFETCH(QByteArray, packet);
        QFETCH(bool, download);
        QFETCH(bool, upload);
        QFETCH(bool, counts);
        QFETCH(FlowKey, key);
        Flows flows;
        flows.add(packet, download, upload, 1000);
        flows.add(packet, download, upload, 500);
        flows.pending.flush();
        const auto sums = drained(flows.ring);
        if (!counts) {
            QVERIFY(sums.isEmpty());
            return;
        }
        QCOMPARE(sums.size(), 1);
        QCOMPARE(sums.begin().key(), key);
        QCOMPARE(sums.begin().value(), (std::pair<uint64_t, uint64_t>(download ? 1500 : 0, upload ? 1500 : 0)));
    }

    // A batch hands each flow over once, and nothing twice.
    void handOver()
    {
        Flows flows;
        const QByteArray in = ipv4(remote4, own4, 6, ports(443, 50000)), out = ipv4(own4, remote4, 6, ports(50000, 443));
        for (int i = 0; i < 100; ++i) {
            flows.add(in, true, false, 1500);
            flows.add(out, false, true, 60);
        }
        int records = 0;
        QVERIFY(drained(flows.ring, &records).isEmpty());
        flows.pending.flush();
        const auto sums = drained(flows.ring, &records);
        QCOMPARE(records, 1);
        QCOMPARE(sums.begin().value(), (std::pair<uint64_t, uint64_t>(150000, 6000)));
        flows.pending.flush();
        QVERIFY(drained(flows.ring).isEmpty());
    }

    // A set that is full gives its oldest place to a new flow: a flow of the batch keeps its place
    // until every other is of the batch too, and then its bytes leave at once, not lost.
    void oldestGoesFirst()
    {
        Flows flows;
        std::vector<QByteArray> sameSet;
        std::vector<FlowKey> keys;
        const FlowKey first{FlowAddress::fromIpv4(remote4), 50000, 1, 6};
        const uint64_t set = hashOf(first) & (PendingFlows::sets - 1);
        for (uint16_t port = 1; sameSet.size() < 8; ++port) {
            const FlowKey key{FlowAddress::fromIpv4(remote4), 50000, port, 6};
            if ((hashOf(key) & (PendingFlows::sets - 1)) == set) {
                sameSet.push_back(ipv4(remote4, own4, 6, ports(port, 50000)));
                keys.push_back(key);
            }
        }
        for (int i = 0; i < 4; ++i)
            flows.add(sameSet[i], true, false, 100);
        flows.pending.flush();
        drained(flows.ring);
        int records = 0;
        flows.add(sameSet[0], true, false, 1);
        for (int i = 4; i < 7; ++i)
            flows.add(sameSet[i], true, false, 1);
        QVERIFY(drained(flows.ring, &records).isEmpty()); // the older three went, with nothing pending
        flows.add(sameSet[0], true, false, 1);
        flows.add(sameSet[7], true, false, 1); // all four of this batch: one leaves now
        const auto early = drained(flows.ring, &records);
        QCOMPARE(records, 1);
        flows.pending.flush();
        auto sums = drained(flows.ring);
        for (auto it = early.cbegin(); it != early.cend(); ++it)
            sums[it.key()].first += it.value().first;
        QCOMPARE(sums.value(keys[0]).first, 2u);
        for (int i = 4; i < 8; ++i)
            QCOMPARE(sums.value(keys[i]).first, 1u);
    }

    // The capture takes a new list of this computer's addresses when it changes.
    void addressesChange()
    {
        Flows flows;
        const QByteArray toOther = ipv4(remote4, other4, 17, ports(53, 40000));
        flows.add(toOther, true, false, 100);
        flows.local.assign({FlowAddress::fromIpv4(other4)});
        flows.add(toOther, true, false, 100);
        flows.pending.flush();
        QCOMPARE(drained(flows.ring).value(FlowKey{FlowAddress::fromIpv4(remote4), 40000, 53, 17}).first, 100u);
    }

    // The capture thread pushes while the worker drains: every byte arrives once, in a record or
    // as lost, and the records arrive whole.
    void ringAcrossThreads()
    {
        FlowRing ring;
        constexpr uint32_t records = 200000;
        std::atomic<bool> done{false};
        std::thread capture([&] {
            for (uint32_t i = 0; i < records; ++i)
                ring.push({FlowKey{{i, i}, uint16_t(i), uint16_t(i), 17}, 3, 1});
            done = true;
        });
        uint64_t download = 0, upload = 0;
        bool whole = true;
        const auto take = [&] {
            ring.drain([&](const FlowBytes &bytes) {
                whole = whole && bytes.key.remote.high == bytes.key.remote.low
                        && bytes.key.localPort == uint16_t(bytes.key.remote.low);
                download += bytes.download;
                upload += bytes.upload;
            });
            const FlowBytes lost = ring.takeLost();
            download += lost.download;
            upload += lost.upload;
        };
        while (!done)
            take();
        capture.join();
        take();
        QVERIFY(whole);
        QCOMPARE(download, 3ull * records);
        QCOMPARE(upload, uint64_t(records));
    }

    // A ring that is full counts what finds no room as lost, never more than was added.
    void fullRing()
    {
        Flows flows;
        for (uint32_t i = 0; i < FlowRing::capacity + 10; ++i)
            flows.ring.push({FlowKey{{}, uint16_t(i), 1, 17}, 10, 1});
        int records = 0;
        drained(flows.ring, &records);
        QCOMPARE(uint32_t(records), FlowRing::capacity);
        const FlowBytes lost = flows.ring.takeLost();
        QCOMPARE(lost.download, 100u);
        QCOMPARE(lost.upload, 10u);
    }
};

QTEST_GUILESS_MAIN(FlowTableTest)
#include "tst_flowtable.moc"
