#include "app/program.h"
#include "app/updatestep.h"
#include "meter/oledate.h"
#include "net/updaterules.h"
#include "platform/dialogs.h"
#include "ui/common/weblinks.h"
#include "ui/monitor/monitorwindow.h"
#include "ui/update/updateofferwindow.h"

#include "support/controls.h"
#include "support/filefixtures.h"
#include "support/localhttpserver.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
const QByteArray checkPath = "/keyaccess/checkupdate.php";
const QDateTime fixedNow(QDate(2026, 12, 10), QTime(12, 0, 0));
// What the box says after the download of `file`.
QString success(const QString &file)
{
    return u"Tarvo has finished downloading the update. Tarvo will now close, and your desktop will open the "
           u"downloaded file %1 with the program it uses for such files."_s.arg(file);
}
} // namespace

class UpdateStepTest : public QObject
{
    Q_OBJECT

private:
    QList<Dialogs::Request> shown;
    QList<QUrl> opened;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<LocalHttpServer> server;
    std::unique_ptr<MonitorWindow> monitor;
    std::unique_ptr<UpdateOfferWindow> window;
    std::unique_ptr<UpdateStep> step;

    QString path(const char *name) const { return dir->filePath(QString::fromUtf8(name)); }
    ProgramEnvironment environment() const { return {dir->path() + u'/', [] { return fixedNow; }}; }

    void makeStep(const QString &host)
    {
        step = std::make_unique<UpdateStep>(*monitor, *window, environment(), host);
    }

    // An offer whose installer is served at `installerPath`, shown and waiting for an answer.
    void offer(const QByteArray &installerPath, const QByteArray &page = "<p>New</p>")
    {
        server->answer(checkPath, 200, "1\r\n" + server->url(QString::fromUtf8(installerPath)).toUtf8() + "\r\n2\r\n" + page);
        step->run();
        QTRY_VERIFY(window->isVisible());
    }

private Q_SLOTS:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        shown.clear();
        opened.clear();
        Dialogs::setHandler([this](const Dialogs::Request &request) {
            shown.append(request);
            return QMessageBox::Ok;
        });
        WebLinks::setOpener([this](const QUrl &url) { opened.append(url); });
        server = std::make_unique<LocalHttpServer>();
        monitor = std::make_unique<MonitorWindow>();
        window = std::make_unique<UpdateOfferWindow>();
        makeStep(server->host());
    }
    void cleanup()
    {
        step.reset();
        window.reset();
        monitor.reset();
        Dialogs::setHandler({});
        WebLinks::setOpener({});
        QLocale::setDefault(QLocale::c());
    }

    // The status line through the check, with nothing on it before (`before` empty) or the
    // no-tray hint: that one stays, and the check's texts pass over it as notices. No box.
    void statusTexts_data()
    {
        const QString hint = QStringLiteral("No tray: the menu is on this window");
        const QString wait = QStringLiteral("Please wait... Checking for updates");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QByteArray>("reminder");
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("during");
        QTest::addColumn<QString>("status"); // the outcome; empty: no text at all
        QTest::addColumn<bool>("offered");
        for (const QString &before : {QString(), hint}) {
            const auto row = [&](const char *name) -> QTestData & {
                return QTest::addRow("%s%s", name, before.isEmpty() ? "" : ", with the hint") << before;
            };
            row("no new version") << QByteArray() << QByteArray("0") << wait
                                   << "Update check complete: No new version found" << false;
            // Nothing is asked: nothing is said.
            row("never remind") << QByteArray("-1\r\n") << QByteArray("1\nhttp://127.0.0.1/u\n1\n") << before
                                 << QString() << false;
            row("new version") << QByteArray() << QByteArray("1\nhttp://127.0.0.1/u\n1.2\n<p>x</p>") << wait
                                << "Update check complete: New version found" << true;
            row("unreadable reply") << QByteArray() << QByteArray("1\nhttp://127.0.0.1/u\nnew\n") << wait
                                     << "Update check failed: " << false;
        }
    }
    void statusTexts()
    {
        QFETCH(QString, before);
        QFETCH(QByteArray, reminder);
        QFETCH(QByteArray, reply);
        QFETCH(QString, during);
        QFETCH(QString, status);
        QFETCH(bool, offered);
        if (!reminder.isEmpty())
            writeBytes(path("remindin.dat"), reminder);
        server->answer(checkPath, 200, reply);
        monitor->setStatusText(before);
        QSignalSpy done(&step->check, &UpdateCheck::finished);
        QSignalSpy failed(&step->check, &UpdateCheck::failed);

        step->run();
        QCOMPARE(monitor->statusText(), during);
        QTRY_COMPARE(done.count() + failed.count(), 1);
        if (status.isEmpty())
            QCOMPARE(monitor->statusText(), before);
        else
            QVERIFY2(monitor->statusText().startsWith(status), qPrintable(monitor->statusText()));
        QCOMPARE(window->isVisible(), offered);
        QVERIFY(shown.isEmpty());
        // Once the notice has passed, the hint is back.
        auto *notice = monitor->findChild<QTimer *>(QStringLiteral("noticeTimer"));
        QCOMPARE(notice->isActive(), !before.isEmpty() && !status.isEmpty());
        notice->setInterval(1);
        if (notice->isActive())
            notice->start();
        QTRY_COMPARE(monitor->statusText(), before.isEmpty() ? monitor->statusText() : before);
    }

    // No box: the status line says once that the check failed, the monitor goes on.
    void unreachableServer()
    {
        QString host;
        {
            LocalHttpServer closed;
            host = closed.host();
        }
        makeStep(host);
        QSignalSpy failed(&step->check, &UpdateCheck::failed);
        step->run();
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(shown.isEmpty());
        QVERIFY2(monitor->statusText().startsWith(QLatin1String("Update check failed: ")), qPrintable(monitor->statusText()));
        QVERIFY2(monitor->statusText().contains(QLatin1String("refused")), qPrintable(monitor->statusText()));
        QVERIFY(!window->isVisible());
    }

    void pageWrittenWithCrLf()
    {
        offer("/Update.exe", "<p>one</p>\n<p>two</p>\n");
        QCOMPARE(fileBytes(path("temp.html")), QByteArray("<p>one</p>\r\n<p>two</p>\r\n"));
        QVERIFY(findControl<QTextBrowser>(*window, u"pageView"_s)->toPlainText().contains(QLatin1String("two")));
    }

    void unwritablePage()
    {
        QVERIFY(QDir().mkdir(path("temp.html"))); // a folder in the file's place
        server->answer(checkPath, 200, "1\nhttp://127.0.0.1/u\n1.2\n<p>x</p>");
        step->run();
        QTRY_COMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(QLatin1String("Unable to write to")));
        QVERIFY(!window->isVisible());
    }

    // "Remind me in 5 days" keeps the next start quiet, in the locale that wrote it.
    void reminders_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates);
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany);
    }
    void reminders()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        makeStep(server->host());
        offer("/Update.exe");
        QTest::mouseClick(findControl<QPushButton>(*window, u"remindButton"_s), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(fileBytes(path("remindin.dat")), reminderText(fixedNow, locale).toUtf8() + "\r\n");
        QVERIFY(fileBytes(path("remindin.dat")).contains("2026"));

        // Nothing is asked, so nothing is said: the status line keeps its text.
        monitor->setStatusText(QString());
        UpdateStep nextStart(*monitor, *window, environment(), server->host());
        QSignalSpy done(&nextStart.check, &UpdateCheck::finished);
        nextStart.run();
        QTRY_COMPARE(done.count(), 1);
        QVERIFY(!nextStart.check.asked());
        QCOMPARE(monitor->statusText(), QString());
        QCOMPARE(server->requests().size(), 1);
    }

    void answersAndTheReminderFile()
    {
        offer("/Update.exe");
        const QByteArray before = fileBytes(path("remindin.dat"));
        QCOMPARE(before, QByteArray("1\r\n"));
        window->close(); // the title-bar close
        QCOMPARE(fileBytes(path("remindin.dat")), before);

        window->showOffer(QStringLiteral("Tarvo"), QString());
        QTest::mouseClick(findControl<QPushButton>(*window, u"neverRemindButton"_s), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QCOMPARE(fileBytes(path("remindin.dat")), QByteArray("-1\r\n"));
        QVERIFY(!QFile::exists(path("Head.txt")));
    }

    // A verified download: the message, the installer handed to the desktop, the program asked
    // to end. One that cannot be verified (plain http without a digest, or a digest it does not
    // match) is kept, not opened: the window says where it is and its folder is shown.
    void downloadVerification_data()
    {
        QTest::addColumn<QByteArray>("digestLine"); // the reply's line after the number
        QTest::addColumn<bool>("verified");
        const QByteArray installer(3000, 'i');
        const QByteArray digest = QCryptographicHash::hash(installer, QCryptographicHash::Sha256).toHex();
        QTest::newRow("its digest") << "sha256=" + digest + "\r\n" << true;
        QTest::newRow("its digest in capitals") << "sha256=" + digest.toUpper() + "\r\n" << true;
        QTest::newRow("http, no digest") << QByteArray() << false;
        QTest::newRow("another digest") << "sha256=" + QByteArray(64, '0') + "\r\n" << false;
    }
    void downloadVerification()
    {
        QFETCH(QByteArray, digestLine);
        QFETCH(bool, verified);
        server->answer("/Update.exe", 200, QByteArray(3000, 'i'));
        offer("/Update.exe", digestLine + "<p>New</p>");
        QVERIFY(!findControl<QTextBrowser>(*window, u"pageView"_s)->toPlainText().contains(QLatin1String("sha256")));
        QSignalSpy quit(step.get(), &UpdateStep::quitRequested);
        QSignalSpy done(&step->download, &InstallerDownload::finished);
        QTest::mouseClick(findControl<QPushButton>(*window, u"updateNowButton"_s), Qt::LeftButton);
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(fileBytes(path("Update.exe")), QByteArray(3000, 'i'));
        QVERIFY(!(QFile::permissions(path("Update.exe")) & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther)));
        QCOMPARE(fileBytes(path("remindin.dat")), QByteArray("1\r\n")); // the next start asks again
        const QString label = findControl<QLabel>(*window, u"progressLabel"_s)->text();
        if (verified) {
            QCOMPARE(label, QStringLiteral("Got 3000 bytes of 3000 total"));
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, success(path("Update.exe")));
            QCOMPARE(shown[0].title, QString());
            QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(path("Update.exe"))});
            QCOMPARE(quit.count(), 1);
            QVERIFY(!window->isVisible());
        } else {
            QVERIFY2(label.startsWith(QLatin1String("The download could not be verified, so it was not opened."))
                         && label.contains(QDir::toNativeSeparators(path("Update.exe"))),
                     qPrintable(label));
            QVERIFY(shown.isEmpty());
            QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(dir->path() + u'/')});
            QCOMPARE(quit.count(), 0);
            QVERIFY(window->isVisible());
        }
    }

    // Failures: the window stays in its download view, nothing is opened, no quit.
    void downloadFails_data()
    {
        QTest::addColumn<QByteArray>("installer");
        QTest::addColumn<QString>("error"); // empty: no message at all
        QTest::addColumn<QString>("progress");
        QTest::newRow("404") << QByteArray("/missing") << QString() << "Got 9 bytes of 9 total";
        QTest::newRow("dropped, no length") << QByteArray("/dropped") << "ended before the whole download"
                                            << "Got 7 bytes of 0 total";
        QTest::newRow("file address") << QByteArray("file") << "Not a web address" << QString();
        QTest::newRow("a .. segment") << QByteArray("/../../Update.exe") << "Not a web address" << QString();
        QTest::newRow("larger than an update") << QByteArray("/huge") << "larger than 67108864 bytes" << QString();
    }
    void downloadFails()
    {
        QFETCH(QByteArray, installer);
        QFETCH(QString, error);
        QFETCH(QString, progress);
        server->answer("/dropped", {"HTTP/1.0 200 OK\r\n\r\npartial"});
        server->answer("/huge", {"HTTP/1.0 200 OK\r\nContent-Length: 104857600\r\n\r\nxxxx", false});
        if (installer == "file")
            server->answer(checkPath, 200, "1\r\nfile:///etc/passwd\r\n1.2\r\n<p>x</p>");
        else
            server->answer(checkPath, 200, "1\r\n" + server->url(QString::fromUtf8(installer)).toUtf8() + "\r\n1.2\r\n<p>x</p>");
        step->run();
        QTRY_VERIFY(window->isVisible());
        QSignalSpy quit(step.get(), &UpdateStep::quitRequested);
        QSignalSpy done(&step->download, &InstallerDownload::finished);
        QTest::mouseClick(findControl<QPushButton>(*window, u"updateNowButton"_s), Qt::LeftButton);
        QTRY_COMPARE(done.count(), 1);

        QCOMPARE(shown.size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty())
            QVERIFY2(shown[0].text.contains(error), qPrintable(shown[0].text));
        QCOMPARE(findControl<QLabel>(*window, u"progressLabel"_s)->text(), progress);
        QVERIFY(window->isVisible());
        QVERIFY(findControl<QWidget>(*window, u"progressArea"_s)->isVisible());
        QVERIFY(!findControl<QWidget>(*window, u"buttonBar"_s)->isVisible());
        QVERIFY(opened.isEmpty());
        QCOMPARE(quit.count(), 0);
        QVERIFY(!QFile::exists(path("Update.exe")));
    }

    // Closing the window during the download, or ending the program during the check, ends
    // them without a word.
    void abandonedSilently()
    {
        server->neverAnswer("/silent");
        offer("/silent");
        QSignalSpy done(&step->download, &InstallerDownload::finished);
        QTest::mouseClick(findControl<QPushButton>(*window, u"updateNowButton"_s), Qt::LeftButton);
        QTRY_COMPARE(server->requests().size(), 2);
        window->close();
        QVERIFY(!step->download.isRunning());

        server->neverAnswer(checkPath);
        step->run();
        QTRY_COMPARE(server->requests().size(), 3);
        step.reset();
        QTest::qWait(50);
        QCOMPARE(done.count(), 0);
        QVERIFY(shown.isEmpty());
    }

    // The program asks the server the environment names, once the first confirmation is done.
    void programUsesTheHostFromTheEnvironment()
    {
        server->answer(checkPath, 200, "0");
        writeBytes(path("tarvo.ini"), "[System]\nlastshut=46366.25\n");
        qputenv("TARVO_UPDATE_HOST", server->host().toUtf8());
        Program program(environment());
        qunsetenv("TARVO_UPDATE_HOST");
        Q_EMIT program.controller.updateCheckDue();
        QTRY_COMPARE(program.monitorWindow.statusText(), QStringLiteral("Update check complete: No new version found"));
        // The version asked for is the one the about window shows.
        QCOMPARE(server->requests(), QList<QByteArray>{checkPath + "?ver=" TARVO_VERSION "&prod=Tarvo"});
    }
};

QTEST_MAIN(UpdateStepTest)
#include "tst_updatestep.moc"
