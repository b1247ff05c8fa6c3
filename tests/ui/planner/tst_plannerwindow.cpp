#include "ui/planner/levelcurve.h"
#include "ui/planner/plannerwindow.h"

#include "support/controls.h"
#include "support/renderings.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

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

// The window with the controls the tests type into and read.
struct Planner
{
    PlannerWindow window;
    QLineEdit *sizeEdit = findControl<QLineEdit>(window, u"sizeEdit"_s);
    QLineEdit *speedEdit = findControl<QLineEdit>(window, u"speedEdit"_s);
    QLabel *resultLabel = findControl<QLabel>(window, u"resultLabel"_s);
    QLabel *bucketLabel = findControl<QLabel>(window, u"bucketLabel"_s);
    LevelCurve *levelCurve = findControl<LevelCurve>(window, u"levelCurve"_s);
};

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
        Planner planner;
        PlannerWindow &window = planner.window;
        window.start(inputs());
        QCOMPARE(planner.speedEdit->text(), QStringLiteral("200000"));
        QTest::keyClicks(planner.sizeEdit, size);
        if (!speed.isNull()) {
            planner.speedEdit->clear();
            QTest::keyClicks(planner.speedEdit, speed);
        }
        QCOMPARE(planner.resultLabel->text(), result);
        QCOMPARE(planner.bucketLabel->text(),
                 QStringLiteral("In the bucket now: 11,000,000 of 20,000,000 bytes; throttled above 12,000,000."));
    }

    // A newer bucket replans what was typed; opening again offers the new average speed.
    void newerBucketKeepsTheTypedValues()
    {
        Planner planner;
        PlannerWindow &window = planner.window;
        window.start(inputs());
        QTest::keyClicks(planner.sizeEdit, QStringLiteral("3000000"));
        planner.speedEdit->setText(QStringLiteral("100000"));
        window.setInputs(inputs(18000000, true));
        QCOMPARE(planner.sizeEdit->text(), QStringLiteral("3000000"));
        QCOMPARE(planner.speedEdit->text(), QStringLiteral("100000"));
        QVERIFY(planner.resultLabel->text().startsWith(
            QStringLiteral("The bucket is above the throttle limit already.\nCut off already: the download waits")));
        QVERIFY(planner.bucketLabel->text().endsWith(QStringLiteral(", CUT OFF.")));
        window.start(inputs());
        QCOMPARE(planner.sizeEdit->text(), QStringLiteral("3000000"));
        QCOMPARE(planner.speedEdit->text(), QStringLiteral("200000"));
    }

    // The window as the user sees it, written to a PNG file: a download that is cut off on its
    // way, so the curve meets both limits.
    void rendering()
    {
        Planner planner;
        PlannerWindow &window = planner.window;
        window.start(inputs(10000000));
        planner.sizeEdit->setText(QStringLiteral("20 MB"));
        planner.speedEdit->setText(QStringLiteral("1MB"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage picture = window.grab().toImage();
        QVERIFY(picture.save(renderingPath(QStringLiteral("planner.png"))));
        const QImage curve = planner.levelCurve->grab().toImage();
        QVERIFY(pixels(curve, QColor(0, 255, 0)) > 100);  // the bucket
        QVERIFY(pixels(curve, QColor(255, 255, 0)) > 20); // the throttle limit
        QVERIFY(pixels(curve, QColor(255, 0, 0)) > 20);   // the cut-off limit
        // An empty plan leaves the curve bare.
        planner.sizeEdit->clear();
        QCOMPARE(pixels(planner.levelCurve->grab().toImage(), QColor(0, 255, 0)), 0);
    }
};

QTEST_MAIN(TestPlannerWindow)
#include "tst_plannerwindow.moc"
