#include "ui/monitor/trafficchart.h"

#include <QImage>
#include <QTest>

namespace {

const QDateTime firstTick(QDate(2025, 12, 9), QTime(12, 0));

// The chart's horizontal value of the tick `seconds` after the first.
double xAt(int seconds)
{
    return double(firstTick.addSecs(seconds).toMSecsSinceEpoch()) / 1000.0;
}
constexpr QRgb red = 0xffff0000;

// The chart drawn on a blank image, the way the panel shows it.
QImage render(TrafficChart &chart)
{
    QImage image(chart.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    chart.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

QList<int> redRows(const QImage &image)
{
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == red) {
                rows << y;
                break;
            }
        }
    }
    return rows;
}

} // namespace

class TestTrafficChart : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historyCutsBothSeries()
    {
        TrafficChartData data;
        int now = 0; // seconds after the first tick
        auto run = [&](int ticks, int history) {
            for (int i = 0; i < ticks; ++i) {
                ++now;
                data.add(firstTick.addSecs(now), 1000 + i, 7, history);
            }
        };
        run(100, 60);
        QCOMPARE(data.download().size(), size_t(60));
        QCOMPARE(data.upload().size(), size_t(60));
        // The oldest points went; the newest is this tick's.
        QCOMPARE(data.download().front().y, 1040.0);
        QCOMPARE(data.download().back().x, xAt(now));
        QCOMPARE(data.upload().back().y, 70.0); // ten times the upload

        run(1, 30);
        QCOMPARE(data.download().size(), size_t(30));
        QCOMPARE(data.upload().size(), size_t(30));
        run(1, 0);
        QVERIFY(data.download().empty());
        QVERIFY(data.upload().empty());
        run(3, -1);
        QVERIFY(data.download().empty());
        QVERIFY(data.upload().empty());
        // A longer history grows one point a second.
        run(2, 60);
        QCOMPARE(data.download().size(), size_t(2));
    }

    void axisRange()
    {
        TrafficChartData data;
        QCOMPARE(data.yRange(false).min, 0.0);
        QCOMPARE(data.yRange(false).max, 262144.0);
        data.add(firstTick, 0, 0, 60);
        data.add(firstTick.addSecs(1), 5000, 800, 60);
        QCOMPARE(data.yRange(true).min, 0.0);
        QCOMPARE(data.yRange(true).max, 8000.0); // the magnified upload is the highest point
        QCOMPARE(data.yRange(false).max, 262144.0);
        QCOMPARE(data.xRange().min, xAt(0));
        QCOMPARE(data.xRange().max, xAt(1));
    }

    void fixedAxisClipsAtTheTop()
    {
        TrafficChart chart;
        QCOMPARE(chart.size(), QSize(65, 58));
        chart.setAutoScale(false);
        chart.add(firstTick, 131072, 0, 60);
        chart.add(firstTick.addSecs(1), 300000, 0, 60);
        chart.add(firstTick.addSecs(2), 131072, 0, 60);
        const QList<int> rows = redRows(render(chart));
        QVERIFY(!rows.isEmpty());
        QCOMPARE(rows.first(), 0);               // cut at the top edge
        QVERIFY(rows.last() >= 27 && rows.last() <= 30); // half of 262144 sits mid-height
    }

    void autoScaleWithoutTrafficIsFlat()
    {
        TrafficChart chart;
        chart.setAutoScale(true);
        for (int i = 0; i < 5; ++i)
            chart.add(firstTick.addSecs(i), 0, 0, 60);
        const QImage image = render(chart);
        QCOMPARE(redRows(image), QList<int>{57});
        // Drawn across the chart's whole width.
        QCOMPARE(image.pixel(0, 57), red);
        QCOMPARE(image.pixel(chart.width() - 1, 57), red);
    }

    void autoScaleReachesTheTop()
    {
        TrafficChart chart;
        chart.setAutoScale(true);
        chart.add(firstTick, 0, 0, 60);
        chart.add(firstTick.addSecs(1), 300000, 0, 60);
        const QList<int> rows = redRows(render(chart));
        QCOMPARE(rows.first(), 0);
        QCOMPARE(rows.last(), 57);
    }
};

QTEST_MAIN(TestTrafficChart)
#include "tst_trafficchart.moc"
