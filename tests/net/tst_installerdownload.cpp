#include "net/installerdownload.h"

#include "support/filefixtures.h"
#include "support/localhttpserver.h"
#include "support/localhttpsserver.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(DownloadResult)

namespace {
struct Run {
    DownloadResult result;
    QList<QPair<qint64, qint64>> progress;
};

Run download(const QUrl &url, const QString &target, const DownloadLimits &limits = {}, const QByteArray &sha256 = {})
{
    InstallerDownload downloader;
    Run run;
    QObject::connect(&downloader, &InstallerDownload::progress,
                     [&](qint64 received, qint64 announced) { run.progress.append({received, announced}); });
    QSignalSpy done(&downloader, &InstallerDownload::finished);
    downloader.start(url, target, limits, sha256);
    if (!done.wait(10000))
        return {{false, QStringLiteral("test: no finished signal")}, {}};
    run.result = done.first().first().value<DownloadResult>();
    return run;
}

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

class InstallerDownloadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<DownloadResult>(); }

    // Only a whole body with a status below 299 becomes the file; nothing else leaves a file.
    void outcomes_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("error"); // empty: saved, or refused by the status without a word
        QTest::addColumn<QByteArray>("lastProgress"); // "received/announced"

        QTest::newRow("with length") << "/sized" << true << "" << QByteArray("3000/3000");
        QTest::newRow("chunked, no length") << "/chunked" << true << "" << QByteArray("11/0");
        QTest::newRow("301 followed") << "/moved" << true << "" << QByteArray("3000/3000");
        QTest::newRow("404") << "/missing" << false << "" << QByteArray("9/9");
        QTest::newRow("303 not followed") << "/see-other" << false << "" << QByteArray("5/5");
        QTest::newRow("dropped, no length") << "/dropped" << false << "ended before the whole download" << QByteArray("7/0");
        QTest::newRow("cut short of its length") << "/short" << false << "Connection closed" << QByteArray("9/1000");
        QTest::newRow("redirect loop") << "/loop" << false << "Too many redirects" << QByteArray();
        QTest::newRow("file address") << "file:///etc/passwd" << false << "Not a web address" << QByteArray();
        QTest::newRow("redirect to a file") << "/to-file" << false << "without a web address" << QByteArray();
        QTest::newRow("a .. segment") << "/../sized" << false << "Not a web address" << QByteArray();
        QTest::newRow("an encoded .. segment") << "/a/%2E%2E/sized" << false << "Not a web address" << QByteArray();
        QTest::newRow("redirect to a .. segment") << "/to-parent" << false << "without a web address" << QByteArray();
        QTest::newRow("stalled") << "/silent" << false << "nothing arrived for 1 s" << QByteArray();
    }
    void outcomes()
    {
        QFETCH(QString, target);
        QFETCH(bool, saved);
        QFETCH(QString, error);
        QFETCH(QByteArray, lastProgress);

        const QByteArray body(3000, 'x');
        LocalHttpServer server;
        server.answer("/sized", 200, body);
        server.answer("/chunked", {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
                                   "6\r\nhello \r\n5\r\nworld\r\n0\r\n\r\n"});
        server.answer("/moved", {LocalHttpServer::response(301, "moved", {"Location: /sized"})});
        server.answer("/see-other", {LocalHttpServer::response(303, "other", {"Location: /sized"})});
        server.answer("/dropped", {"HTTP/1.0 200 OK\r\n\r\npartial"});
        server.answer("/short", {"HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nonly this"});
        server.answer("/loop", {LocalHttpServer::response(302, "", {"Location: /loop"})});
        server.answer("/to-file", {LocalHttpServer::response(302, "", {"Location: file:///etc/passwd"})});
        server.answer("/to-parent", {LocalHttpServer::response(302, "", {"Location: /a/../sized"})});
        server.neverAnswer("/silent");

        QTemporaryDir dir;
        const QString installer = dir.filePath(QStringLiteral("Update.exe"));
        const QUrl url = target.startsWith(u'/') ? QUrl(server.url(target)) : QUrl(target);
        const Run run = download(url, installer, DownloadLimits{1s});

        QCOMPARE(run.result.saved, saved);
        QVERIFY2(error.isEmpty() ? run.result.error.isEmpty() : run.result.error.contains(error), qPrintable(run.result.error));
        const QByteArray last = run.progress.isEmpty() ? QByteArray()
            : QByteArray::number(run.progress.last().first) + '/' + QByteArray::number(run.progress.last().second);
        QCOMPARE(last, lastProgress);
        QCOMPARE(filesIn(dir), saved ? QStringList{QStringLiteral("Update.exe")} : QStringList());
        if (saved)
            QCOMPARE(fileBytes(installer), target == QLatin1String("/chunked") ? QByteArray("hello world") : body);
    }

    // A body at the limit is kept; one byte more ends the download and leaves no file, whether
    // the length was announced or not.
    void sizeLimit_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("saved");
        const QByteArray atLimit(3000, 'x');
        const QByteArray overLimit(3001, 'x');
        QTest::newRow("announced, at the limit") << LocalHttpServer::response(200, atLimit) << true;
        QTest::newRow("announced, one byte over") << LocalHttpServer::response(200, overLimit) << false;
        QTest::newRow("announced over, little sent") << QByteArray("HTTP/1.0 200 OK\r\nContent-Length: 104857600\r\n\r\nxx")
                                                     << false;
        QTest::newRow("unannounced, at the limit") << "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nbb8\r\n" + atLimit + "\r\n0\r\n\r\n"
                                                   << true;
        QTest::newRow("unannounced, one byte over") << "HTTP/1.0 200 OK\r\n\r\n" + overLimit << false;
    }
    void sizeLimit()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, saved);
        LocalHttpServer server;
        server.answer("/installer", {reply});
        QTemporaryDir dir;
        DownloadLimits limits;
        limits.maxBytes = 3000;
        const Run run = download(QUrl(server.url(QStringLiteral("/installer"))), dir.filePath(QStringLiteral("Update.exe")), limits);
        QCOMPARE(run.result.saved, saved);
        QVERIFY2(saved == run.result.error.isEmpty(), qPrintable(run.result.error));
        if (!saved)
            QVERIFY2(run.result.error.contains(QLatin1String("larger than 3000 bytes")), qPrintable(run.result.error));
        QCOMPARE(filesIn(dir), saved ? QStringList{QStringLiteral("Update.exe")} : QStringList());
    }

    // Over plain http only a matching digest verifies the file; the file is kept either way.
    void verification_data()
    {
        QTest::addColumn<QByteArray>("sha256");
        QTest::addColumn<bool>("verified");
        const QByteArray digest = QCryptographicHash::hash("installer", QCryptographicHash::Sha256);
        QTest::newRow("no digest") << QByteArray() << false;
        QTest::newRow("its digest") << digest << true;
        QTest::newRow("another file's digest") << QCryptographicHash::hash("installer!", QCryptographicHash::Sha256) << false;
    }
    void verification()
    {
        QFETCH(QByteArray, sha256);
        QFETCH(bool, verified);
        LocalHttpServer server;
        server.answer("/installer", 200, "installer");
        server.answer("/moved", {LocalHttpServer::response(302, "", {"Location: /installer"})});
        QTemporaryDir dir;
        const Run run = download(QUrl(server.url(QStringLiteral("/moved"))), dir.filePath(QStringLiteral("Update.exe")), {}, sha256);
        QVERIFY(run.result.saved);
        QCOMPARE(run.result.verified, verified);
        QCOMPARE(fileBytes(dir.filePath(QStringLiteral("Update.exe"))), QByteArray("installer"));
    }

    // Over https, a certificate the system trusts verifies the file when no digest was given; one
    // nobody vouches for ends the download; a digest, when given, must match all the same; a hop
    // over plain http leaves the file unverified.
    void httpsVerification_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QByteArray>("sha256");
        QTest::addColumn<bool>("throughHttp"); // the download starts at an http address that redirects
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("verified");
        const QByteArray other = QCryptographicHash::hash("installer!", QCryptographicHash::Sha256);
        QTest::newRow("trusted certificate") << true << QByteArray() << false << true << true;
        QTest::newRow("certificate nobody vouches for") << false << QByteArray() << false << false << false;
        QTest::newRow("trusted, another file's digest") << true << other << false << true << false;
        QTest::newRow("trusted, reached through http") << true << QByteArray() << true << true << false;
    }
    void httpsVerification()
    {
        QFETCH(bool, trusted);
        QFETCH(QByteArray, sha256);
        QFETCH(bool, throughHttp);
        QFETCH(bool, saved);
        QFETCH(bool, verified);
        LocalHttpsServer secure(LocalHttpServer::response(200, "installer"));
        QVERIFY(secure.ok);
        if (trusted)
            secure.trustIt();
        LocalHttpServer plain;
        plain.answer("/moved", {LocalHttpServer::response(302, "", {"Location: " + secure.url(QStringLiteral("/installer")).toUtf8()})});
        QTemporaryDir dir;
        const QUrl url(throughHttp ? plain.url(QStringLiteral("/moved")) : secure.url(QStringLiteral("/installer")));
        const Run run = download(url, dir.filePath(QStringLiteral("Update.exe")), {}, sha256);
        QVERIFY2(saved == run.result.error.isEmpty(), qPrintable(run.result.error));
        QCOMPARE(run.result.saved, saved);
        QCOMPARE(run.result.verified, verified);
        QCOMPARE(filesIn(dir), saved ? QStringList{QStringLiteral("Update.exe")} : QStringList());
    }

    // An installer already there is replaced; a link there is replaced, not written through.
    void replacesWhatIsThere()
    {
        LocalHttpServer server;
        server.answer("/sized", 200, "new installer");
        QTemporaryDir dir;
        const QString installer = dir.filePath(QStringLiteral("Update.exe"));
        const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
        writeBytes(elsewhere, "keep me");
        QVERIFY(QFile::link(elsewhere, installer));

        QVERIFY(download(QUrl(server.url(QStringLiteral("/sized"))), installer).result.saved);
        QVERIFY(!QFileInfo(installer).isSymLink());
        QCOMPARE(fileBytes(installer), QByteArray("new installer"));
        QCOMPARE(fileBytes(elsewhere), QByteArray("keep me"));
    }

    void unwritableDirectory()
    {
        LocalHttpServer server;
        server.answer("/sized", 200, "x");
        QTemporaryDir dir;
        const Run run = download(QUrl(server.url(QStringLiteral("/sized"))), dir.filePath(QStringLiteral("missing/Update.exe")));
        QVERIFY(!run.result.saved);
        QVERIFY2(run.result.error.startsWith(QLatin1String("Unable to write to")), qPrintable(run.result.error));
        QVERIFY(server.requests().isEmpty());
    }

    // A download abandoned (its window closed) says nothing and leaves nothing behind.
    void abortIsSilent()
    {
        LocalHttpServer server;
        server.neverAnswer("/silent");
        QTemporaryDir dir;
        InstallerDownload downloader;
        QSignalSpy done(&downloader, &InstallerDownload::finished);
        downloader.start(QUrl(server.url(QStringLiteral("/silent"))), dir.filePath(QStringLiteral("Update.exe")));
        QTRY_COMPARE(server.requests().size(), 1);
        downloader.abort();
        QVERIFY(!downloader.isRunning());
        QVERIFY(filesIn(dir).isEmpty());
        QTest::qWait(50);
        QCOMPARE(done.count(), 0);
    }
};

QTEST_GUILESS_MAIN(InstallerDownloadTest)
#include "tst_installerdownload.moc"
