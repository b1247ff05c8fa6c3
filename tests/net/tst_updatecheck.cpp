#include "net/updatecheck.h"
#include "net/updaterules.h"

#include "support/filefixtures.h"
#include "support/localhttpserver.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
const QByteArray checkPath = "/keyaccess/checkupdate.php";
const QDateTime fixedNow(QDate(2026, 12, 10), QTime(12, 0, 0));
const QLocale usLocale(QLocale::English, QLocale::UnitedStates);
const QLocale germanLocale(QLocale::German, QLocale::Germany);

struct CheckRun {
    bool finished = false;
    QString error;
};

// One check against `server`, waited for without blocking the event loop.
CheckRun runCheck(UpdateCheck &check, const QString &product = QStringLiteral("Tarvo"), const HttpLimits &limits = {})
{
    QSignalSpy finished(&check, &UpdateCheck::finished);
    QSignalSpy failed(&check, &UpdateCheck::failed);
    check.start(product, QStringLiteral("1.11"), fixedNow, limits);
    if (!QTest::qWaitFor([&] { return finished.count() + failed.count() > 0; }, 10000))
        return {false, QStringLiteral("test: no outcome")};
    return {finished.count() == 1, failed.isEmpty() ? QString() : failed.first().first().toString()};
}
} // namespace

class UpdateCheckTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stringReplaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        QTest::addColumn<QString>("result");
        QTest::newRow("three words") << "one two three" << " " << "%20" << "one%20two%20three";
        QTest::newRow("marker in the input") << "one$~$two three" << " " << "%20" << "one%20two%20three";
        QTest::newRow("letter doubled") << "banana" << "a" << "aa" << "baanaanaa";
        QTest::newRow("empty search") << "a b" << "" << "x" << "a b";
        QTest::newRow("no occurrence") << "Tarvo" << " " << "%20" << "Tarvo";
        // Each of these used to loop for ever.
        QTest::newRow("search inside the marker") << "a$b" << "$" << "S" << "aSb";
        QTest::newRow("search is the marker's middle") << "a~b" << "~" << "-" << "a-b";
        QTest::newRow("replacement holds the marker") << "a b" << " " << "$~$" << "a$~$b";
        // Results that differ from restarting at the front: the search overlaps the marker, or
        // the replacement and the text after it spell the marker.
        QTest::newRow("search overlaps the marker") << "xx$" << "x$" << "Y" << "xY";
        QTest::newRow("replacement ends in half a marker") << "a $" << " " << "$~" << "a$~$";
    }
    void stringReplaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(QString, result);
        QCOMPARE(::stringReplaceAll(text, search, replacement), result);
    }

    // The reminder file is written and read in the same locale, with four-digit years; older
    // two-digit years read as the nearest such year.
    void reminderTexts_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("legacy");
        QTest::newRow("en_US") << usLocale << QStringLiteral("12/8/26 9:30:15 AM");
        QTest::newRow("de_DE") << germanLocale << QStringLiteral("08.12.26 09:30:15");
    }
    void reminderTexts()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, legacy);
        const QDateTime moment(QDate(2026, 12, 8), QTime(9, 30, 15));
        const QString text = reminderText(moment, locale);
        QVERIFY2(text.contains(QLatin1String("2026")), qPrintable(text));
        QCOMPARE(readReminderText(text, locale, fixedNow.date()), moment);
        QCOMPARE(readReminderText(legacy, locale, fixedNow.date()), moment);
        QCOMPARE(readReminderText(QStringLiteral("1"), locale, fixedNow.date()), std::nullopt);
    }

    void reminderGate_data()
    {
        QTest::addColumn<std::optional<QByteArray>>("file"); // none: no file
        QTest::addColumn<bool>("queried");
        QTest::addColumn<QByteArray>("fileAfter");
        const auto at = [](qint64 secondsFromNow) {
            return std::optional(reminderText(fixedNow.addSecs(secondsFromNow), usLocale).toUtf8() + "\r\n");
        };
        QTest::newRow("no file") << std::optional<QByteArray>() << true << QByteArray("1\r\n");
        QTest::newRow("empty") << std::optional(QByteArray()) << true << QByteArray("1\r\n");
        QTest::newRow("check always") << std::optional(QByteArray("1\r\n")) << true << QByteArray("1\r\n");
        QTest::newRow("never") << std::optional(QByteArray("-1\r\n")) << false << QByteArray("-1\r\n");
        QTest::newRow("never, LF only, more lines") << std::optional(QByteArray("-1\nignored\n")) << false
                                                    << QByteArray("-1\nignored\n");
        QTest::newRow("4 days 23 hours ago") << at(-(4 * 86400 + 23 * 3600)) << false << *at(-(4 * 86400 + 23 * 3600));
        QTest::newRow("5 days less 1 second ago") << at(-(432000 - 1)) << false << *at(-(432000 - 1));
        QTest::newRow("exactly 5 days ago") << at(-432000) << true << *at(-432000);
        QTest::newRow("5 days 1 second ago") << at(-(432000 + 1)) << true << *at(-(432000 + 1));
        QTest::newRow("an hour ahead") << at(3600) << false << *at(3600);
        QTest::newRow("6 days ahead") << at(6 * 86400) << true << QByteArray("1\r\n");
        QTest::newRow("garbage") << std::optional(QByteArray("\x01not a date\r\n")) << true << QByteArray("1\r\n");
    }
    void reminderGate()
    {
        QFETCH(std::optional<QByteArray>, file);
        QFETCH(bool, queried);
        QFETCH(QByteArray, fileAfter);

        QTemporaryDir dir;
        const QString reminder = dir.filePath(QStringLiteral("remindin.dat"));
        if (file)
            writeBytes(reminder, *file);
        LocalHttpServer server;
        server.answer(checkPath, 200, "0");
        UpdateCheck check(dir.path() + u'/', server.host(), usLocale);

        const CheckRun run = runCheck(check);
        QVERIFY2(run.finished, qPrintable(run.error));
        QCOMPARE(server.requests().size(), queried ? 1 : 0);
        QCOMPARE(fileBytes(reminder), fileAfter);
        QVERIFY(!check.newVersionAvailable());
    }

    // Whatever the status, the body that arrives is the answer; 300 to 302 are followed.
    void replies_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("error"); // empty: the check finishes
        QTest::addColumn<bool>("offer");
        QTest::addColumn<QString>("downloadUrl");
        QTest::addColumn<QString>("whatsNew");
        const auto ok = [](const QByteArray &body) { return LocalHttpServer::response(200, body); };
        const QByteArray offer = "1\r\nhttp://127.0.0.1/Update.exe\r\n1.2\r\n<p>New</p>";
        QTest::newRow("0 and anything") << ok("0\r\nhttp://127.0.0.1/x\r\nno\r\n") << "" << false << "" << "";
        QTest::newRow("four lines") << ok(offer) << "" << true << "http://127.0.0.1/Update.exe" << "<p>New</p>\r\n";
        QTest::newRow("LF, CR and a final line end") << ok("2\nhttp://127.0.0.1/u\r1.2\n<p>a</p>\r\n<p>b</p>\n")
                                                     << "" << true << "http://127.0.0.1/u" << "<p>a</p>\r\n<p>b</p>\r\n";
        QTest::newRow("three lines, empty page") << ok("1\nhttp://127.0.0.1/u\n3\n") << "" << true << "http://127.0.0.1/u" << "";
        QTest::newRow("404 page read as a reply") << LocalHttpServer::response(404, offer) << "" << true
                                                  << "http://127.0.0.1/Update.exe" << "<p>New</p>\r\n";
        QTest::newRow("301 followed") << LocalHttpServer::response(301, "", {"Location: /offer"}) << "" << true
                                      << "http://127.0.0.1/Update.exe" << "<p>New</p>\r\n";
        QTest::newRow("303 not followed") << LocalHttpServer::response(303, "0", {"Location: /offer"}) << "" << false << "" << "";
        QTest::newRow("third line no number") << ok("1\nhttp://127.0.0.1/u\nnew\n<p>x</p>") << "'new' is not a valid"
                                              << false << "http://127.0.0.1/u" << "";
        QTest::newRow("comma number, dot locale") << ok("1\nhttp://127.0.0.1/u\n1,5\n<p>x</p>") << "'1,5' is not a valid"
                                                  << false << "http://127.0.0.1/u" << "";
        QTest::newRow("two lines") << ok("1\nhttp://127.0.0.1/u\n") << "fewer than 3" << false << "http://127.0.0.1/u" << "";
        QTest::newRow("empty body") << ok("") << "empty reply" << false << "" << "";
        QTest::newRow("10 MB, capped") << ok(QByteArray(10 * 1024 * 1024, '1')) << "larger than 65536 bytes" << false << "" << "";
    }
    void replies()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, error);
        QFETCH(bool, offer);
        QFETCH(QString, downloadUrl);
        QFETCH(QString, whatsNew);

        QTemporaryDir dir;
        LocalHttpServer server;
        server.answer(checkPath, {raw});
        server.answer("/offer", 200, "1\r\nhttp://127.0.0.1/Update.exe\r\n1.2\r\n<p>New</p>");
        UpdateCheck check(dir.path() + u'/', server.host(), usLocale);

        const CheckRun run = runCheck(check);
        QCOMPARE(run.finished, error.isEmpty());
        QVERIFY2(run.error.contains(error), qPrintable(run.error));
        QCOMPARE(check.newVersionAvailable(), offer);
        QCOMPARE(check.downloadUrl(), downloadUrl);
        QCOMPARE(check.whatsNew(), whatsNew);
    }

    // The line after the number may name the installer's digest; it is no part of the page. A
    // line that is not exactly a digest stays in the page.
    void digestLine_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("sha256"); // in hex
        QTest::addColumn<QString>("whatsNew");
        const QByteArray hex = QByteArray("0123456789abcdef").repeated(4);
        const QByteArray offer = "1\r\nhttp://127.0.0.1/u\r\n1.2\r\n";
        QTest::newRow("none") << offer + "<p>x</p>" << QByteArray() << "<p>x</p>\r\n";
        QTest::newRow("digest, then the page") << offer + "sha256=" + hex + "\r\n<p>x</p>" << hex << "<p>x</p>\r\n";
        QTest::newRow("digest in capitals, no page") << offer + "sha256=" + hex.toUpper() << hex << "";
        QTest::newRow("63 digits") << offer + "sha256=" + hex.left(63) << QByteArray()
                                   << QString::fromLatin1("sha256=" + hex.left(63) + "\r\n");
        QTest::newRow("not hex") << offer + "sha256=" + QByteArray(64, 'g') << QByteArray()
                                 << QStringLiteral("sha256=") + QString(64, u'g') + QStringLiteral("\r\n");
        QTest::newRow("after the page's first line") << offer + "<p>x</p>\nsha256=" + hex << QByteArray()
                                                     << QString::fromLatin1("<p>x</p>\r\nsha256=" + hex + "\r\n");
    }
    void digestLine()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, sha256);
        QFETCH(QString, whatsNew);
        const UpdateReply reply = parseUpdateReply(body, usLocale);
        QVERIFY(reply.newVersionAvailable);
        QCOMPARE(reply.installerSha256.toHex(), sha256);
        QCOMPARE(reply.whatsNew, whatsNew);
    }

    // The host setting may name the scheme: https is asked over https.
    void hostSettings_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("url");
        const QString query = QStringLiteral("/keyaccess/checkupdate.php?ver=1.11&prod=Tarvo");
        const auto row = [&](const char *name, const char *host, const char *start) {
            QTest::newRow(name) << QString::fromLatin1(host) << QString::fromLatin1(start) + query;
        };
        row("host", "updates.example", "http://updates.example");
        row("host and port", "updates.example:8080", "http://updates.example:8080");
        row("http", "http://updates.example", "http://updates.example");
        row("https", "https://updates.example", "https://updates.example");
        row("https and port", "https://updates.example:8443", "https://updates.example:8443");
    }
    void hostSettings()
    {
        QFETCH(QString, host);
        QFETCH(QString, url);
        QCOMPARE(updateQueryUrl(host, QStringLiteral("Tarvo"), QStringLiteral("1.11")).toString(), url);
    }

    void queries_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QByteArray>("target");
        // The version goes as it is written, whatever the locale's decimal separator.
        QTest::newRow("dot locale") << usLocale << "Tarvo" << QByteArray("?ver=1.11&prod=Tarvo");
        QTest::newRow("comma locale") << germanLocale << "Tarvo" << QByteArray("?ver=1.11&prod=Tarvo");
        QTest::newRow("space in the name") << usLocale << "Tarvo Pro" << QByteArray("?ver=1.11&prod=Tarvo%20Pro");
    }
    void queries()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, product);
        QFETCH(QByteArray, target);
        QTemporaryDir dir;
        LocalHttpServer server;
        server.answer(checkPath, 200, "0");
        UpdateCheck check(dir.path() + u'/', server.host(), locale);
        QVERIFY(runCheck(check, product).finished);
        QVERIFY(check.asked());
        QCOMPARE(server.requests(), QList<QByteArray>{checkPath + target});
        QCOMPARE(check.productName(), product);
    }

    void unreachableServer()
    {
        QTemporaryDir dir;
        QString host;
        {
            LocalHttpServer closed;
            host = closed.host();
        }
        UpdateCheck check(dir.path() + u'/', host, usLocale);
        const CheckRun run = runCheck(check);
        QVERIFY(!run.finished);
        QVERIFY2(run.error.contains(QLatin1String("refused")), qPrintable(run.error));
    }

    // A server that never answers ends at the deadline, and the thread's timers fire meanwhile.
    void silentServer()
    {
        QTemporaryDir dir;
        LocalHttpServer server;
        server.neverAnswer(checkPath);
        UpdateCheck check(dir.path() + u'/', server.host(), usLocale);
        QTimer tick;
        int ticks = 0;
        connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(50);
        const CheckRun run = runCheck(check, QStringLiteral("Tarvo"), HttpLimits{1s});
        QVERIFY2(run.error.contains(QLatin1String("in time")), qPrintable(run.error));
        QVERIFY(ticks > 0);
    }

    // A reminder without end (a pipe that is always written) is read only as far as its bound.
    void endlessReminder()
    {
        QTemporaryDir dir;
        const QString reminder = UpdateFiles::reminderPath(dir.path() + u'/');
        QCOMPARE(::mkfifo(QFile::encodeName(reminder).constData(), 0600), 0);
        std::signal(SIGPIPE, SIG_IGN);
        std::thread writer([path = QFile::encodeName(reminder)] {
            const int pipe = ::open(path.constData(), O_WRONLY);
            const QByteArray block(4096, '\0');
            while (::write(pipe, block.constData(), size_t(block.size())) > 0) {
            }
            ::close(pipe);
        });
        const std::optional<QString> line = UpdateFiles::readFirstLine(reminder);
        QCOMPARE(line.value_or(QString()).size(), UpdateFiles::maxFirstLineBytes);
        writer.join();
        std::signal(SIGPIPE, SIG_DFL);
    }

    void unwritableReminder()
    {
        QTemporaryDir dir;
        LocalHttpServer server;
        UpdateCheck check(dir.filePath(QStringLiteral("missing/")), server.host(), usLocale);
        const CheckRun run = runCheck(check);
        QVERIFY2(run.error.startsWith(QLatin1String("Unable to write to")), qPrintable(run.error));
        QVERIFY(!check.asked());
        QVERIFY(server.requests().isEmpty());
    }

    // Quitting while the question is out says nothing.
    void abortIsSilent()
    {
        QTemporaryDir dir;
        LocalHttpServer server;
        server.neverAnswer(checkPath);
        UpdateCheck check(dir.path() + u'/', server.host(), usLocale);
        QSignalSpy finished(&check, &UpdateCheck::finished);
        QSignalSpy failed(&check, &UpdateCheck::failed);
        check.start(QStringLiteral("Tarvo"), QStringLiteral("1.11"), fixedNow);
        QTRY_COMPARE(server.requests().size(), 1);
        check.abort();
        QTest::qWait(50);
        QCOMPARE(finished.count() + failed.count(), 0);
    }
};

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "tst_updatecheck.moc"
