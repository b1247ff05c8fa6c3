#include "meter/hostaliases.h"

#include "support/hostaddresstest.h"

#include <QTest>

#include <vector>

namespace {

const HostAddress pc4 = HostAddress::fromIpv4(0xC0A80105u);      // 192.168.1.5
const HostAddress printer4 = HostAddress::fromIpv4(0xC0A80109u); // 192.168.1.9
const HostAddress pc6{0x20010db800010000ull, 0x5ull};             // 2001:db8:1::5
const HostAddress pcPrivacy6{0x20010db800010000ull, 0x8a2e0370ull};
const QByteArray pcMac = QByteArray::fromHex("020000000005");
const QByteArray routerMac = QByteArray::fromHex("020000000001");

Neighbour entry(HostAddress address, const QByteArray &mac, bool current = true)
{
    return {address, mac, current};
}

} // namespace


class TestHostAliases : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowOf_data()
    {
        QTest::addColumn<std::vector<Neighbour>>("neighbours");
        QTest::addColumn<HostAddress>("host");
        QTest::addColumn<HostAddress>("row");

        QTest::newRow("no neighbours") << std::vector<Neighbour>{} << pc6 << pc6;
        QTest::newRow("IPv6 only in the table") << std::vector{entry(pc6, pcMac)} << pc6 << pc6;
        QTest::newRow("one match") << std::vector{entry(pc4, pcMac), entry(pc6, pcMac)} << pc6 << pc4;
        QTest::newRow("second IPv6 address of the same machine")
            << std::vector{entry(pc6, pcMac), entry(pcPrivacy6, pcMac), entry(pc4, pcMac)} << pcPrivacy6 << pc4;
        QTest::newRow("the same entry twice")
            << std::vector{entry(pc4, pcMac), entry(pc6, pcMac), entry(pc4, pcMac)} << pc6 << pc4;
        QTest::newRow("an IPv4 host stays itself") << std::vector{entry(pc4, pcMac), entry(pc6, pcMac)} << pc4 << pc4;
        QTest::newRow("another MAC") << std::vector{entry(pc4, routerMac), entry(pc6, pcMac)} << pc6 << pc6;
        QTest::newRow("a MAC with two IPv4 addresses")
            << std::vector{entry(pc4, pcMac), entry(printer4, pcMac), entry(pc6, pcMac)} << pc6 << pc6;
        QTest::newRow("an IPv6 address at two MACs")
            << std::vector{entry(pc4, pcMac), entry(pc6, pcMac), entry(pc6, routerMac)} << pc6 << pc6;
        QTest::newRow("stale IPv4 entry")
            << std::vector{entry(pc4, pcMac, false), entry(pc6, pcMac)} << pc6 << pc6;
        QTest::newRow("stale IPv6 entry")
            << std::vector{entry(pc4, pcMac), entry(pc6, pcMac, false)} << pc6 << pc6;
        QTest::newRow("a stale second IPv4 address does not split")
            << std::vector{entry(pc4, pcMac), entry(printer4, pcMac, false), entry(pc6, pcMac)} << pc6 << pc4;
        QTest::newRow("unresolved MAC of zeros")
            << std::vector{entry(pc4, QByteArray(6, '\0')), entry(pc6, QByteArray(6, '\0'))} << pc6 << pc6;
        QTest::newRow("no MAC") << std::vector{entry(pc4, {}), entry(pc6, {})} << pc6 << pc6;
    }

    void rowOf()
    {
        QFETCH(std::vector<Neighbour>, neighbours);
        QFETCH(HostAddress, host);
        QFETCH(HostAddress, row);
        QCOMPARE(HostAliases(neighbours).rowOf(host), row);
    }
};

QTEST_GUILESS_MAIN(TestHostAliases)
#include "tst_hostaliases.moc"
