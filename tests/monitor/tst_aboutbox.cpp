#include "monitor/aboutunit.h"
#include "monitor/weblinks.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestAboutBox : public QObject
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
        row("Label2", "KELMIRA", {16, 32}, 16, false);
        row("Label1", "Tarvo", {40, 40}, 29, false);
        row("Label7", "Tarvo on the web", {120, 80}, 13, true);
        row("Label3", "Version: 1.11", {16, 96}, 11, false);
        row("Label6", "Internet trough satellite from KELMIRA", {48, 280}, 13, true);
        row("Label8", "Kelmira Software", {128, 304}, 13, true);
        row("Label5", "", {64, 3}, 11, true);
    }

    void layout()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QPoint, at);
        QFETCH(int, pixelSize);
        QFETCH(bool, link);
        TAboutBox about;
        auto *label = about.findChild<QLabel *>(name);
        QVERIFY(label);
        if (!text.isEmpty())
            QCOMPARE(label->text(), text);
        QCOMPARE(label->pos(), at);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QCOMPARE(label->font().underline(), link);
        QCOMPARE(label->cursor().shape(), link ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }

    void window()
    {
        TAboutBox about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Tarvo"));
        QCOMPARE(about.size(), QSize(353, 385));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        QVERIFY(!about.isModal());
        QCOMPARE(about.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(about.Label1->font().weight(), QFont::Black);
        QVERIFY(about.Label2->font().bold());
        QCOMPARE(about.Label7->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(about.Label5->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(about.Panel2->geometry(), QRect(0, 385 - 58, 353, 58));
        QCOMPARE(about.Panel2->palette().color(QPalette::Window), QColor(0, 64, 128));
        QCOMPARE(about.OKButton->geometry(), QRect(271, 24, 75, 25));
        QCOMPARE(about.OKButton->text(), QStringLiteral("OK"));
        QVERIFY(about.OKButton->isDefault());
        QCOMPARE(about.Memo2->geometry(), QRect(16, 224, 329, 49));
        QVERIFY(about.Memo2->isReadOnly());
        QCOMPARE(about.Memo2->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QStringList credits = about.Memo2->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(credits.size(), 3);
        QVERIFY(credits[0].contains(QStringLiteral("libpcap")));
        QVERIFY(credits[2].contains(QStringLiteral("reproduction")));
    }

    void linksOpenTheirPages()
    {
        TAboutBox about;
        about.show();
        for (QLabel *label : {static_cast<QLabel *>(about.Label7), static_cast<QLabel *>(about.Label6),
                              static_cast<QLabel *>(about.Label8), static_cast<QLabel *>(about.Label5)})
            QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{WebLinks::productSite(), WebLinks::makerSite(), WebLinks::softwareSite(),
                                      WebLinks::softwareSite()}));
        QVERIFY(about.isVisible()); // a link leaves the window as it is
    }

    void okAndEnterHideTheSameWindow()
    {
        TAboutBox about;
        about.show();
        QTest::mouseClick(about.OKButton, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.activateWindow();
        QTest::keyClick(&about, Qt::Key_Return);
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
