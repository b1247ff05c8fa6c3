#include "ui/about/aboutdialog.h"
#include "ui/about/linklabel.h"
#include "ui/common/weblinks.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestAboutDialog : public QObject
{
    Q_OBJECT

private:
    QList<QUrl> opened;

private Q_SLOTS:
    void init()
    {
        opened.clear();
        WebLinks::setOpener([this](const QUrl &url) { opened.append(url); });
    }
    void cleanup() { WebLinks::setOpener({}); }

    void layout_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("link");
        auto row = [](const char *name, const char *text, QPoint at, int pixelSize, bool link) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text) << at << pixelSize << link;
        };
        row("makerLabel", "KELMIRA", {16, 32}, 16, false);
        row("productSiteLink", "Tarvo on the web", {120, 80}, 13, true);
        row("versionLabel", "Version: " TARVO_VERSION, {16, 96}, 11, false); // the build's version
        row("makerSiteLink", "Internet trough satellite from KELMIRA", {48, 280}, 13, true);
        row("softwareSiteLink", "Kelmira Software", {128, 304}, 13, true);
        row("copyrightLink", "", {64, 3}, 11, true);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QPoint, at);
        QFETCH(int, pixelSize);
        QFETCH(bool, link);
        AboutDialog about;
        auto *label = about.findChild<QLabel *>(name);
        QVERIFY(label);
        if (!text.isEmpty())
            QCOMPARE(label->text(), text);
        QCOMPARE(label->pos(), at);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QCOMPARE(label->font().underline(), link);
        QCOMPARE(label->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

    // Whatever font stands in for Arial Black, the title stands on its baseline, clear of "KELMIRA".
    void titleClearsTheMakerName()
    {
        AboutDialog about;
        auto ink = [](const QLabel *label) {
            const QFontMetrics metrics = label->fontMetrics();
            return metrics.tightBoundingRect(label->text()).translated(label->pos() + QPoint(0, metrics.ascent()));
        };
        QCOMPARE(about.titleLabel->text(), QStringLiteral("Tarvo"));
        QCOMPARE(about.titleLabel->font().pixelSize(), 29);
        QCOMPARE(about.titleLabel->x(), 40);
        QCOMPARE(about.titleLabel->y() + about.titleLabel->fontMetrics().ascent(), 72);
        QVERIFY(!ink(about.titleLabel).intersects(ink(about.makerLabel)));
    }

    void window()
    {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tarvo"));
        QCOMPARE(about.size(), QSize(353, 385));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(!about.isModal());
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(about.titleLabel->font().weight(), QFont::Black);
        QVERIFY(about.makerLabel->font().bold());
        QCOMPARE(about.productSiteLink->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(about.copyrightLink->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(about.bottomBand->geometry(), QRect(0, 385 - 58, 353, 58));
        QCOMPARE(about.bottomBand->palette().color(QPalette::Window), QColor(0, 64, 128));
        QCOMPARE(about.okButton->geometry(), QRect(271, 24, 75, 25));
        QCOMPARE(about.okButton->text(), QStringLiteral("OK"));
        QVERIFY(about.okButton->isDefault());
        QCOMPARE(about.creditsText->geometry(), QRect(16, 224, 329, 49));
        QVERIFY(about.creditsText->isReadOnly());
        QCOMPARE(about.creditsText->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QStringList credits = about.creditsText->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(credits.size(), 3);
        QVERIFY(credits[0].contains(QStringLiteral("libpcap")));
        QVERIFY(credits[2].contains(QStringLiteral("reproduction")));
    }

    void linksOpenTheirPages()
    {
        AboutDialog about;
        about.show();
        for (QLabel *label : {static_cast<QLabel *>(about.productSiteLink), static_cast<QLabel *>(about.makerSiteLink),
                              static_cast<QLabel *>(about.softwareSiteLink), static_cast<QLabel *>(about.copyrightLink)})
            QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{WebLinks::productSite(), WebLinks::makerSite(), WebLinks::softwareSite(),
                                      WebLinks::softwareSite()}));
        QVERIFY(about.isVisible()); // a link leaves the window as it is
    }

    void okAndEnterHideTheSameWindow()
    {
        AboutDialog about;
        about.show();
        QTest::mouseClick(about.okButton, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.activateWindow();
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestAboutDialog)
#include "tst_aboutdialog.moc"
