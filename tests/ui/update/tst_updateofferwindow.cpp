#include "ui/update/updateofferwindow.h"

#include "support/controls.h"
#include "support/renderings.h"

#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {
const QString page = QStringLiteral("<h3>Tarvo 1.2</h3>\r\n<ul><li>Faster start</li><li>A new chart</li></ul>\r\n"
                                    "<p><a href=\"http://127.0.0.1/notes\">Release notes</a></p>\r\n");
} // namespace

class UpdateOfferWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offer()
    {
        UpdateOfferWindow window;
        QVERIFY(!window.isVisible());
        QVERIFY(!window.findChild<QLabel *>(u"banner"_s)); // built on the first offer

        window.showOffer(QStringLiteral("Tarvo"), page);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowModality(), Qt::ApplicationModal);
        QCOMPARE(window.windowTitle(), QStringLiteral("New version available"));
        QCOMPARE(window.size(), QSize(500, 300));
        QLabel *banner = findControl<QLabel>(window, u"banner"_s);
        QCOMPARE(banner->text(), QStringLiteral("   Tarvo"));
        QCOMPARE(banner->font().pointSize(), 16);
        QVERIFY(findControl<QTextBrowser>(window, u"pageView"_s)->toPlainText().contains(QLatin1String("A new chart")));
        QVERIFY(findControl<QWidget>(window, u"buttonBar"_s)->isVisible());
        QVERIFY(!findControl<QWidget>(window, u"progressArea"_s)->isVisible());
        // Before the button is pressed, what it will open and with what; no installer on Linux.
        const QString note = findControl<QLabel>(window, u"openNote"_s)->text();
        QCOMPARE(note, QStringLiteral("\"Update Now!\" downloads the new version, closes Tarvo and opens the downloaded "
                                      "file with the program your desktop uses for such files."));
        QVERIFY(!note.contains(u"installer"_s));
        const QList<std::tuple<QString, QString, int, int>> buttons{
            {u"updateNowButton"_s, QStringLiteral("Update Now!"), 56, 83},
            {u"remindButton"_s, QStringLiteral("Remind me in 5 days"), 144, 139},
            {u"neverRemindButton"_s, QStringLiteral("Never remind me about updates again"), 288, 195},
        };
        for (const auto &[name, caption, left, width] : buttons) {
            const QPushButton *button = findControl<QPushButton>(window, name);
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->geometry().left(), left);
            QCOMPARE(button->width(), width);
        }
        QVERIFY(window.grab().save(renderingPath(QStringLiteral("update-offer.png"))));

        // Shown again, the window keeps its controls and its first banner.
        window.close();
        window.showOffer(QStringLiteral("Other"), QStringLiteral("plain text, no markup"));
        QCOMPARE(window.findChildren<QLabel *>(u"banner"_s), QList<QLabel *>{banner});
        QCOMPARE(banner->text(), QStringLiteral("   Tarvo"));
        QCOMPARE(findControl<QTextBrowser>(window, u"pageView"_s)->toPlainText(), QStringLiteral("plain text, no markup"));
    }

    void answers()
    {
        UpdateOfferWindow window;
        window.showOffer(QStringLiteral("Tarvo"), page);
        QSignalSpy download(&window, &UpdateOfferWindow::downloadRequested);
        QSignalSpy remind(&window, &UpdateOfferWindow::remindLaterRequested);
        QSignalSpy never(&window, &UpdateOfferWindow::neverRemindRequested);
        QSignalSpy closed(&window, &UpdateOfferWindow::closed);

        QTest::mouseClick(findControl<QPushButton>(window, u"remindButton"_s), Qt::LeftButton);
        QTest::mouseClick(findControl<QPushButton>(window, u"neverRemindButton"_s), Qt::LeftButton);
        QCOMPARE(remind.count(), 1);
        QCOMPARE(never.count(), 1);
        QCOMPARE(closed.count(), 0); // closing is the owner's, once the file is written

        QTest::mouseClick(findControl<QPushButton>(window, u"updateNowButton"_s), Qt::LeftButton);
        QCOMPARE(download.count(), 1);
        QCOMPARE(window.windowTitle(), QStringLiteral("Please wait... downloading your update!"));
        QVERIFY(findControl<QWidget>(window, u"progressArea"_s)->isVisible());
        QVERIFY(!findControl<QWidget>(window, u"buttonBar"_s)->isVisible());

        window.showProgress(1500, 3000);
        const QLabel *progressLabel = findControl<QLabel>(window, u"progressLabel"_s);
        const QProgressBar *progressBar = findControl<QProgressBar>(window, u"progressBar"_s);
        QCOMPARE(progressLabel->text(), QStringLiteral("Got 1500 bytes of 3000 total"));
        QCOMPARE(progressBar->maximum(), 3000);
        QCOMPARE(progressBar->value(), 1500);
        QCoreApplication::processEvents(); // the layout without the button bar
        QVERIFY(window.grab().save(renderingPath(QStringLiteral("update-downloading.png"))));
        window.showProgress(700, 0);
        QCOMPARE(progressLabel->text(), QStringLiteral("Got 700 bytes of 0 total"));
        QCOMPARE(progressBar->maximum(), 0);

        window.close();
        QCOMPARE(closed.count(), 1);
    }

    // The page came over plain http: it loads nothing, not even a local file, and its links lead
    // nowhere.
    void pageLoadsNothing()
    {
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("red.png"));
        QImage red(8, 8, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(picture));
        const QUrl pictureUrl = QUrl::fromLocalFile(picture);

        UpdateOfferWindow window;
        window.showOffer(QStringLiteral("Tarvo"), QStringLiteral("<p><img src=\"%1\"> <a href=\"%1\">link</a></p>")
                                                      .arg(pictureUrl.toString()));
        const QTextBrowser *pageView = findControl<QTextBrowser>(window, u"pageView"_s);
        QVERIFY(!pageView->document()->resource(QTextDocument::ImageResource, pictureUrl).isValid());
        QVERIFY(!pageView->openLinks());
    }
};

QTEST_MAIN(UpdateOfferWindowTest)
#include "tst_updateofferwindow.moc"
