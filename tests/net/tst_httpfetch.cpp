#include "net/endpoints.h"
#include "net/httpfetch.h"

#include "support/localhttpserver.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(HttpReply)

class HttpFetchTest : public QObject {
    Q_OBJECT

private:
    static HttpReply fetch(const QUrl &url, const HttpLimits &limits = {})
    {
        HttpFetch fetcher;
        QSignalSpy done(&fetcher, &HttpFetch::finished);
        fetcher.get(url, limits);
        if (!done.wait(10000))
            return HttpReply{QStringLiteral("test: no finished signal"), 0, {}};
        [&] { QCOMPARE(done.count(), 1); }();
        return done.first().first().value<HttpReply>();
    }

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<HttpReply>(); }

    // What arrives is delivered whatever its status; 300 to 302 are followed, others are not.
    void replies_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("ok") << QByteArray("/plain") << 200 << QByteArray("203.0.113.7");
        QTest::newRow("error page") << QByteArray("/missing") << 404 << QByteArray("not found");
        QTest::newRow("server error") << QByteArray("/broken") << 500 << QByteArray("oops");
        QTest::newRow("301 followed") << QByteArray("/moved") << 200 << QByteArray("203.0.113.7");
        QTest::newRow("302 relative, followed twice") << QByteArray("/found") << 200 << QByteArray("203.0.113.7");
        QTest::newRow("303 not followed") << QByteArray("/see-other") << 303 << QByteArray("elsewhere");
        QTest::newRow("307 not followed") << QByteArray("/temporary") << 307 << QByteArray("elsewhere");
    }
    void replies()
    {
        QFETCH(QByteArray, path);
        QFETCH(int, status);
        QFETCH(QByteArray, body);

        LocalHttpServer server;
        server.answer("/plain", 200, "203.0.113.7");
        server.answer("/broken", 500, "oops");
        server.answer("/moved", {LocalHttpServer::response(301, "", {"Location: " + server.url(QStringLiteral("/plain")).toUtf8()})});
        server.answer("/found", {LocalHttpServer::response(302, "", {"Location: /moved"})});
        server.answer("/see-other", {LocalHttpServer::response(303, "elsewhere", {"Location: /plain"})});
        server.answer("/temporary", {LocalHttpServer::response(307, "elsewhere", {"Location: /plain"})});

        const HttpReply reply = fetch(QUrl(server.url(QString::fromUtf8(path))));
        QVERIFY2(!reply.failed(), qPrintable(reply.error));
        QCOMPARE(reply.status, status);
        QCOMPARE(reply.body, body);
    }

    // Nothing usable arrived: an error text and no body.
    void failures_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("error");
        QTest::newRow("redirect loop") << QStringLiteral("/loop") << QStringLiteral("Too many redirects");
        QTest::newRow("redirect to a file") << QStringLiteral("/to-file") << QStringLiteral("redirect without a web address");
        QTest::newRow("too large") << QStringLiteral("/huge") << QStringLiteral("larger than 65536 bytes");
        QTest::newRow("never answers") << QStringLiteral("/silent") << QStringLiteral("in time (1 s)");
        QTest::newRow("cut short") << QStringLiteral("/short") << QString();
        QTest::newRow("not a web address") << QStringLiteral("file:///etc/passwd") << QStringLiteral("Not a web address");
    }
    void failures()
    {
        QFETCH(QString, target);
        QFETCH(QString, error);

        LocalHttpServer server;
        server.answer("/loop", {LocalHttpServer::response(302, "", {"Location: /loop"})});
        server.answer("/to-file", {LocalHttpServer::response(301, "", {"Location: file:///etc/passwd"})});
        server.answer("/huge", 200, QByteArray(10 * 1024 * 1024, 'x'));
        server.answer("/short", {"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nonly this"});
        server.neverAnswer("/silent");

        const QUrl url = target.startsWith(u'/') ? QUrl(server.url(target)) : QUrl(target);
        const HttpReply reply = fetch(url, HttpLimits{1s});
        QVERIFY(reply.failed());
        QVERIFY2(reply.error.contains(error), qPrintable(reply.error));
        QVERIFY(reply.body.isEmpty());
    }

    // A chain of redirects is followed up to the limit and not one hop further.
    void redirectChain_data()
    {
        QTest::addColumn<int>("hops");
        QTest::addColumn<QString>("error"); // empty: the end of the chain arrives
        const int allowed = HttpLimits{}.maxRedirects;
        QTest::newRow("one fewer than allowed") << allowed - 1 << QString();
        QTest::newRow("exactly the allowed hops") << allowed << QString();
        QTest::newRow("one hop more") << allowed + 1 << QStringLiteral("Too many redirects");
    }
    void redirectChain()
    {
        QFETCH(int, hops);
        QFETCH(QString, error);
        LocalHttpServer server;
        server.answer("/hop0", 200, "end");
        for (int hop = 1; hop <= hops; ++hop)
            server.answer("/hop" + QByteArray::number(hop),
                          {LocalHttpServer::response(302, "", {"Location: /hop" + QByteArray::number(hop - 1)})});
        const HttpReply reply = fetch(QUrl(server.url(QStringLiteral("/hop%1").arg(hops))));
        QCOMPARE(reply.error.isEmpty() ? QString() : reply.error, error);
        QCOMPARE(reply.body, error.isEmpty() ? QByteArray("end") : QByteArray());
        QCOMPARE(server.requests().size(), std::min(hops, HttpLimits{}.maxRedirects) + 1);
    }

    void refusedConnection()
    {
        QString url;
        {
            LocalHttpServer closed;
            url = closed.url(QStringLiteral("/plain"));
        }
        const HttpReply reply = fetch(QUrl(url));
        QVERIFY(reply.failed());
        QVERIFY2(reply.error.contains(QLatin1String("refused")), qPrintable(reply.error));
    }

    // An abandoned fetch says nothing, and the object can fetch again at once.
    void abortIsSilent()
    {
        LocalHttpServer server;
        server.neverAnswer("/silent");
        server.answer("/plain", 200, "again");
        HttpFetch fetcher;
        QSignalSpy done(&fetcher, &HttpFetch::finished);
        fetcher.get(QUrl(server.url(QStringLiteral("/silent"))));
        QTRY_COMPARE(server.requests().size(), 1);
        fetcher.abort();
        QVERIFY(!fetcher.isRunning());
        fetcher.get(QUrl(server.url(QStringLiteral("/plain"))));
        QVERIFY(done.wait(10000));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.first().first().value<HttpReply>().body, QByteArray("again"));
    }

    void hostsComeFromTheEnvironmentFirst()
    {
        qputenv("TARVO_UPDATE_HOST", "127.0.0.1:8080");
        QCOMPARE(Endpoints::updateHost(), QStringLiteral("127.0.0.1:8080"));
        qunsetenv("TARVO_UPDATE_HOST");
        QVERIFY(Endpoints::updateHost().endsWith(QLatin1String(".example")));
        QVERIFY(Endpoints::publicAddressHost().endsWith(QLatin1String(".example")));
    }
};

QTEST_GUILESS_MAIN(HttpFetchTest)
#include "tst_httpfetch.moc"
