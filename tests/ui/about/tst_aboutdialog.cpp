#include "ui/about/aboutdialog.h"
#include "ui/about/linklabel.h"
#include "ui/common/weblinks.h"

#include "support/controls.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

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
        row("makerSiteLink", "Internet through satellite from KELMIRA", {48, 280}, 13, true);
        row("softwareSiteLink", "Kelmira Software", {128, 304}, 13, true);
        row("copyrightLink", "Copyright (C) Kelmira Software. GNU GPL 3 or later.", {64, 3}, 11, true);
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
        const QLabel *title = findControl<QLabel>(about, u"titleLabel"_s);
        QCOMPARE(title->text(), QStringLiteral("Tarvo"));
        QCOMPARE(title->font().pixelSize(), 29);
        QCOMPARE(title->x(), 40);
        QCOMPARE(title->y() + title->fontMetrics().ascent(), 72);
        QVERIFY(!ink(title).intersects(ink(findControl<QLabel>(about, u"makerLabel"_s))));
    }

    void window()
    {
        AboutDialog about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tarvo"));
        QCOMPARE(about.size(), QSize(353, 385));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(!about.isModal());
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::white));
        const QWidget *band = findControl<QWidget>(about, u"bottomBand"_s);
        const QPushButton *ok = findControl<QPushButton>(about, u"okButton"_s);
        const QPlainTextEdit *credits = findControl<QPlainTextEdit>(about, u"creditsText"_s);
        QCOMPARE(findControl<QLabel>(about, u"titleLabel"_s)->font().weight(), QFont::Black);
        QVERIFY(findControl<QLabel>(about, u"makerLabel"_s)->font().bold());
        QCOMPARE(findControl<QLabel>(about, u"productSiteLink"_s)->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(findControl<QLabel>(about, u"copyrightLink"_s)->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(band->geometry(), QRect(0, 385 - 58, 353, 58));
        QCOMPARE(band->palette().color(QPalette::Window), QColor(0, 64, 128));
        QCOMPARE(ok->geometry(), QRect(271, 24, 75, 25));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(credits->geometry(), QRect(16, 224, 329, 49));
        QVERIFY(credits->isReadOnly());
        QCOMPARE(credits->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QStringList lines = credits->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].contains(QStringLiteral("libpcap")));
        QVERIFY(lines[2].contains(QStringLiteral("GNU General Public License, version 3 or any later version")));
    }

    void linksOpenTheirPages()
    {
        AboutDialog about;
        about.show();
        for (const QString &link : {u"productSiteLink"_s, u"makerSiteLink"_s, u"softwareSiteLink"_s, u"copyrightLink"_s})
            QTest::mouseClick(findControl<QLabel>(about, link), Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{WebLinks::productSite(), WebLinks::makerSite(), WebLinks::softwareSite(),
                                      WebLinks::softwareSite()}));
        QVERIFY(about.isVisible()); // a link leaves the window as it is
    }

    void okAndEnterHideTheSameWindow()
    {
        AboutDialog about;
        about.show();
        QTest::mouseClick(findControl<QPushButton>(about, u"okButton"_s), Qt::LeftButton);
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
