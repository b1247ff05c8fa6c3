#include "platform/neighbourtable.h"

#include "support/hostaddresstest.h"

#include <QTest>

#include <vector>

// The neighbour tables: the ARP text as the kernel writes it, and this machine's own tables.
class TestNeighbourTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseArpTable_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("count");
        QTest::addColumn<HostAddress>("address");
        QTest::addColumn<QByteArray>("mac");
        QTest::addColumn<bool>("current");

        const HostAddress host = HostAddress::fromIpv4(0xC0A80105u);
        QTest::newRow("complete") << QByteArray("192.168.1.5      0x1         0x2         02:00:00:00:00:05     *        eth0")
                                  << 1 << host << QByteArray::fromHex("020000000005") << true;
        QTest::newRow("permanent") << QByteArray("192.168.1.5 0x1 0x6 02:00:00:00:00:05 * eth0")
                                   << 1 << host << QByteArray::fromHex("020000000005") << true;
        QTest::newRow("incomplete") << QByteArray("192.168.1.5      0x1         0x0         00:00:00:00:00:00     *        eth0")
                                    << 1 << host << QByteArray(6, '\0') << false;
        QTest::newRow("loopback") << QByteArray("127.0.0.2 0x1 0x2 02:00:00:00:00:05 * lo") << 0 << HostAddress() << QByteArray() << false;
        QTest::newRow("not an address") << QByteArray("192.168.1 0x1 0x2 02:00:00:00:00:05 * eth0") << 0 << HostAddress() << QByteArray() << false;
        QTest::newRow("short line") << QByteArray("192.168.1.5 0x1") << 0 << HostAddress() << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << 0 << HostAddress() << QByteArray() << false;
    }

    void parseArpTable()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, count);
        const QByteArray text = "IP address       HW type     Flags       HW address            Mask     Device\n" + line + '\n';
        const std::vector<Neighbour> neighbours = ::parseArpTable(text);
        QCOMPARE(int(neighbours.size()), count);
        if (count == 0)
            return;
        QTEST(neighbours[0].address, "address");
        QTEST(neighbours[0].mac, "mac");
        QTEST(neighbours[0].current, "current");
    }

    // Whatever this machine's tables hold (often nothing), each entry reads whole.
    void systemTablesReadWhole()
    {
        const std::vector<Neighbour> neighbours = SystemNeighbours().neighbours();
        for (const Neighbour &neighbour : neighbours) {
            const QByteArray bytes = neighbour.address.bytes();
            QVERIFY2(bytes != HostAddress(0, 1).bytes(), "the IPv6 loopback is left out");
            QVERIFY2(neighbour.address.isIpv4() ? (neighbour.address.ipv4() >> 24) != 127 : uint8_t(bytes[0]) != 0xFF,
                     qPrintable(neighbour.address.toString()));
            if (neighbour.current)
                QCOMPARE(neighbour.mac.size(), 6);
        }
    }
};

QTEST_GUILESS_MAIN(TestNeighbourTable)
#include "tst_neighbourtable.moc"
