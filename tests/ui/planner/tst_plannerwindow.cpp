#include "ui/planner/levelcurve.h"
#include "ui/planner/plannerwindow.h"

#include "support/renderings.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// 10,000 bytes / s of recharge, throttled above 12 MB, cut off above 19 MB; 11 MB in the bucket
// at noon, downloads of late at 200,000 bytes / s.
PlannerInputs inputs(int32_t used = 11000000, bool cutOff = false)
{
    FapParameters parameters;
    parameters.rechargeRate = 10000;
    parameters.cutOffLimit = 20000000;
    parameters.throttleLimit = 12000000;
    return {parameters, used, cutOff, QDateTime(QDate(2026, 12, 10), QTime(12, 0)), 199999.5};
}

// How many pixels of the picture have the colour.
int pixels(const QImage &image, const QColor &colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return count;
}

} // namespace

class TestPlannerWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("TZ", "UTC"); }

    // What the user reads after typing a size, with the speed the window offered.
    void resultForTypedSize_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("speed"); // empty: the offered one
        QTest::addColumn<QString>("result");
        QTest::newRow("throttled, fits later")
            << "3000000" << QString()
            << "Throttled in 00:00:06, at 12:00:06.\n"
               "It will not be cut off.\n"
               "Done in 00:00:15, at 12:00:15.\n"
               "Restriction \"none\" again in 00:03:20, at 12:03:20.\n"
               "It fits if started in 00:03:05, at 12:03:05.";
        QTest::newRow("units, slower than the recharge")
            << "100 kb" << "1KB"
            << "It will not be throttled.\n"
               "It will not be cut off.\n"
               "Done in 00:01:40, at 12:01:40.\n"
               "It fits now: it stays below the throttle limit all the way.";
        QTest::newRow("no size") << "" << QString() << "Type the download's size, such as 3 GB.";
        QTest::newRow("not a size") << "3 XB" << QString() << "Type the download's size, such as 3 GB.";
        QTest::newRow("no speed") << "1GB" << "0" << "Type a speed above 0, such as 200 KB.";
    }

    void resultForTypedSize()
    {
        QFETCH(QString, size);
        QFETCH(QString, speed);
        QFETCH(QString, result);
        PlannerWindow window;
        window.start(inputs());
        QCOMPARE(window.speedEdit->text(), QStringLiteral("200000"));
        QTest::keyClicks(window.sizeEdit, size);
        if (!speed.isNull()) {
            window.speedEdit->clear();
            QTest::keyClicks(window.speedEdit, speed);
        }
        QCOMPARE(window.resultLabel->text(), result);
        QCOMPARE(window.bucketLabel->text(),
                 QStringLiteral("In the bucket now: 11,000,000 of 20,000,000 bytes; throttled above 12,000,000."));
    }

    // A newer bucket replans what was typed; opening again offers the new average speed.
    void newerBucketKeepsTheTypedValues()
    {
        PlannerWindow window;
        window.start(inputs());
        QTest::keyClicks(window.sizeEdit, QStringLiteral("3000000"));
        window.speedEdit->setText(QStringLiteral("100000"));
        window.setInputs(inputs(18000000, true));
        QCOMPARE(window.sizeEdit->text(), QStringLiteral("3000000"));
        QCOMPARE(window.speedEdit->text(), QStringLiteral("100000"));
        QVERIFY(window.resultLabel->text().startsWith(
            QStringLiteral("The bucket is above the throttle limit already.\nCut off already: the download waits")));
        QVERIFY(window.bucketLabel->text().endsWith(QStringLiteral(", CUT OFF.")));
        window.start(inputs());
        QCOMPARE(window.sizeEdit->text(), QStringLiteral("3000000"));
        QCOMPARE(window.speedEdit->text(), QStringLiteral("200000"));
    }

    // The window as the user sees it, written to a PNG file: a download that is cut off on its
    // way, so the curve meets both limits.
    void rendering()
    {
        PlannerWindow window;
        window.start(inputs(10000000));
        window.sizeEdit->setText(QStringLiteral("20 MB"));
        window.speedEdit->setText(QStringLiteral("1MB"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage picture = window.grab().toImage();
        QVERIFY(picture.save(renderingPath(QStringLiteral("planner.png"))));
        const QImage curve = window.curve->grab().toImage();
        QVERIFY(pixels(curve, QColor(0, 255, 0)) > 100);  // the bucket
        QVERIFY(pixels(curve, QColor(255, 255, 0)) > 20); // the throttle limit
        QVERIFY(pixels(curve, QColor(255, 0, 0)) > 20);   // the cut-off limit
        // An empty plan leaves the curve bare.
        window.sizeEdit->clear();
        QCOMPARE(pixels(window.curve->grab().toImage(), QColor(0, 255, 0)), 0);
    }
};

QTEST_MAIN(TestPlannerWindow)
#include "tst_plannerwindow.moc"
