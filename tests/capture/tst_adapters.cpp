#include "capture/adapters.h"

#include "support/filefixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// The adapter rows where the capture library has no description: the kind from the device's
// folder under /sys/class/net and its IPv4 address.
class TestAdapters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<QByteArray>("type"); // the "type" file; null: none
        QTest::addColumn<QStringList>("entries"); // folders beside it
        QTest::addColumn<QString>("kind");
        QTest::newRow("card") << QByteArray("1\n") << QStringList{QStringLiteral("device")} << "Ethernet";
        QTest::newRow("veth, ifb") << QByteArray("1\n") << QStringList{} << "Virtual Ethernet";
        QTest::newRow("wireless card") << QByteArray("1\n")
                                       << QStringList{QStringLiteral("device"), QStringLiteral("wireless")} << "Wi-Fi";
        QTest::newRow("bridge") << QByteArray("1\n") << QStringList{QStringLiteral("bridge")} << "Bridge";
        QTest::newRow("bond") << QByteArray("1\n") << QStringList{QStringLiteral("bonding")} << "Bond";
        QTest::newRow("tun") << QByteArray("65534\n") << QStringList{QStringLiteral("tun_flags")} << "Tunnel";
        QTest::newRow("wireguard") << QByteArray("65534\n") << QStringList{} << "Tunnel";
        QTest::newRow("ppp") << QByteArray("512\n") << QStringList{} << "PPP";
        QTest::newRow("loopback") << QByteArray("772\n") << QStringList{} << "Loopback";
        QTest::newRow("unknown type") << QByteArray("801\n") << QStringList{} << QString();
        QTest::newRow("unreadable type") << QByteArray("ether\n") << QStringList{} << QString();
        QTest::newRow("no folder") << QByteArray() << QStringList{} << QString();
    }
    void kinds()
    {
        QFETCH(QByteArray, type);
        QFETCH(QStringList, entries);
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("eth0"));
        if (!type.isNull()) {
            QVERIFY(QDir().mkpath(device));
            writeBytes(device + QStringLiteral("/type"), type);
        }
        for (const QString &entry : entries)
            QVERIFY(QDir().mkpath(device + u'/' + entry));
        QCOMPARE(adapterKind(device), kind);
    }

    void rows_data()
    {
        QTest::addColumn<QByteArray>("description"); // null: none
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("ipv4");
        QTest::addColumn<QString>("row");
        QTest::newRow("kind and address") << QByteArray() << "Ethernet" << "192.168.1.10"
                                          << "Ethernet, 192.168.1.10 (eth0)";
        QTest::newRow("kind only") << QByteArray() << "Virtual Ethernet" << QString() << "Virtual Ethernet (eth0)";
        QTest::newRow("address only") << QByteArray() << QString() << "10.0.0.2" << "10.0.0.2 (eth0)";
        QTest::newRow("nothing known") << QByteArray() << QString() << QString() << "No description available (eth0)";
        QTest::newRow("the library's description first")
            << QByteArray("Realtek PCIe") << "Ethernet" << "192.168.1.10" << "Realtek PCIe (eth0)";
    }
    void rows()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, kind);
        QFETCH(QString, ipv4);
        QFETCH(QString, row);
        QCOMPARE(adapterRowText(description.isNull() ? nullptr : description.constData(), "eth0", {kind, ipv4}), row);
    }

    // This machine's loopback device, as the capture library lists it.
    void loopbackRow()
    {
        const AdapterEnumeration adapters = enumerateAdapters();
        const qsizetype lo = adapters.deviceNames.indexOf(QStringLiteral("lo"));
        if (lo < 0)
            QSKIP("no loopback device to capture on");
        QCOMPARE(adapters.rows[lo], QStringLiteral("Loopback, 127.0.0.1 (lo)"));
    }
};

QTEST_GUILESS_MAIN(TestAdapters)
#include "tst_adapters.moc"
