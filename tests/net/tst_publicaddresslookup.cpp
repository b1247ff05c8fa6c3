#include "net/publicaddresslookup.h"

#include "support/localhttpserver.h"

#include <QSignalSpy>
#include <QTest>

// Only a reply that holds an address in the form the classifier compares becomes an entry.
class PublicAddressLookupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replies_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("address"); // empty: nothing
        const QString address = QStringLiteral("203.0.113.7");
        QTest::newRow("bare") << 200 << QByteArray("203.0.113.7") << address;
        QTest::newRow("line end") << 200 << QByteArray("203.0.113.7\n") << address;
        QTest::newRow("blanks and CRLF") << 200 << QByteArray(" \t203.0.113.7 \r\n") << address;
        QTest::newRow("any 2xx") << 203 << QByteArray("203.0.113.7") << address;
        QTest::newRow("leading zero") << 200 << QByteArray("203.0.113.07") << QString();
        QTest::newRow("byte over 255") << 200 << QByteArray("203.0.113.256") << QString();
        QTest::newRow("three bytes") << 200 << QByteArray("203.0.113") << QString();
        QTest::newRow("inner blank") << 200 << QByteArray("203.0.113.7 8") << QString();
        QTest::newRow("page") << 200 << QByteArray("<html>203.0.113.7</html>") << QString();
        QTest::newRow("IPv6") << 200 << QByteArray("2001:db8::7") << QString();
        QTest::newRow("empty") << 200 << QByteArray() << QString();
        QTest::newRow("error page with an address") << 500 << QByteArray("203.0.113.7") << QString();
        QTest::newRow("not found with an address") << 404 << QByteArray("203.0.113.7") << QString();
    }
    void replies()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, address);
        const auto found = publicAddressFromReply(HttpReply{QString(), status, body});
        QCOMPARE(found.value_or(QString()), address);
        QCOMPARE(publicAddressFromReply(HttpReply{QStringLiteral("Connection refused"), status, body}), std::nullopt);
    }

    // The plain page of the given host; the page for people on the same host.
    void asksTheSiteItIsGiven()
    {
        LocalHttpServer server;
        server.answer("/myipsimple.php", 200, "198.51.100.23\n");
        PublicAddressLookup lookup(server.host());
        QCOMPARE(lookup.pageUrl(), QUrl(server.url(QStringLiteral("/myip.php"))));
        QCOMPARE(lookup.limits.deadline, std::chrono::milliseconds(30000));

        QSignalSpy done(&lookup, &PublicAddressLookup::finished);
        lookup.start();
        QVERIFY(done.wait(10000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.first().first().value<std::optional<QString>>(), QStringLiteral("198.51.100.23"));
        QCOMPARE(server.requests(), QList<QByteArray>{"/myipsimple.php"});
    }
};

QTEST_GUILESS_MAIN(PublicAddressLookupTest)
#include "tst_publicaddresslookup.moc"
