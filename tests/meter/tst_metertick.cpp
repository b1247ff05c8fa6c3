#include "meter/fapmeter.h"
#include "meter/metertick.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"

#include <QTest>

namespace {

constexpr double kNoon = 46000.5;

FapParameters plan()
{
    return FapParameters{}; // 4096 B/s, cut off at 96888422, throttled above 64592281
}

void fillCounters(TrafficCounters &counters)
{
    counters.downloadedTotal = 5000000000;
    counters.uploadedTotal = 700000;
    counters.tickDownloadBytes = 1514;
    counters.tickUploadBytes = 60;
    counters.tickPackets = 2;
    counters.downloadPackets = 3000;
    counters.uploadPackets = 400;
    counters.meanPacketSize = 812.5f;
}

} // namespace

class TestMeterTick : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The tick takes the per-tick counters once, and the bucket and the statistics see the same values.
    void tickTakesCounters()
    {
        TrafficCounters counters;
        FapMeter meter;
        TrafficStats stats;
        meter.applySettings(plan(), 1000000);
        fillCounters(counters);
        counters.tickDownloadBytes = 1040960;

        const TrafficCounters::Tick taken = runMeterTick(kNoon, counters, meter, stats);
        QCOMPARE(taken.downloadBytes, 1040960);
        QCOMPARE(taken.uploadBytes, 60);
        QCOMPARE(taken.packets, 2);
        QCOMPARE(counters.tickDownloadBytes.load(), 0);
        QCOMPARE(counters.tickUploadBytes.load(), 0);
        QCOMPARE(counters.tickPackets.load(), 0);
        QCOMPARE(counters.downloadedTotal.load(), 5000000000);
        QCOMPARE(meter.smoothedDownload(), 104096);
        QCOMPARE(stats.averageDownload, 1040960.0f);
        QCOMPARE(stats.averageUpload, 0.6f);
        QCOMPARE(meter.usedBytes(), 1000000 - 4096);
    }

    void resets_data()
    {
        QTest::addColumn<bool>("level");
        QTest::newRow("Reset interface counters") << false;
        QTest::newRow("Reset FAP level") << true;
    }

    // Both commands clear the statistics, the counters but uploadedTotal and the rate history;
    // only "Reset FAP level" empties the bucket and lifts the cut-off.
    void resets()
    {
        QFETCH(bool, level);
        TrafficCounters counters;
        FapMeter meter;
        TrafficStats stats;
        meter.applySettings(plan(), 96000000);
        fillCounters(counters);
        runMeterTick(kNoon, counters, meter, stats);
        QCOMPARE(meter.restriction(), Restriction::CutOff);
        fillCounters(counters);

        (level ? resetFapLevel : resetInterfaceCounters)(counters, stats, meter);

        QCOMPARE(counters.downloadedTotal.load(), 0);
        QCOMPARE(counters.uploadedTotal.load(), 700000);
        QCOMPARE(counters.tickDownloadBytes.load(), 0);
        QCOMPARE(counters.tickUploadBytes.load(), 0);
        QCOMPARE(counters.tickPackets.load(), 0);
        QCOMPARE(counters.downloadPackets.load(), 0);
        QCOMPARE(counters.uploadPackets.load(), 0);
        QCOMPARE(counters.meanPacketSize.load(), 0.0f);
        QCOMPARE(stats.averageDownload, 0.0f);
        QCOMPARE(stats.instantDownload, 0);
        QCOMPARE(stats.averageUpload, 0.0f);
        QCOMPARE(stats.instantUpload, 0.0f);
        QCOMPARE(meter.smoothedDownload(), 0);
        QCOMPARE(meter.previousUsed(), 0);
        QCOMPARE(meter.usedBytes(), level ? 0 : 96000000 - 4096);
        QCOMPARE(meter.cutOff(), !level);

        // The next tick without downloads: the level is full after "Reset FAP level", and the
        // download average is seeded again by the next active second.
        counters.tickDownloadBytes = 3000;
        runMeterTick(kNoon, counters, meter, stats);
        QCOMPARE(restrictionText(meter.restriction()), level ? QStringLiteral("none") : QStringLiteral("CUT OFF"));
        QCOMPARE(meter.levelPercent(), level ? 100 : 0);
        QCOMPARE(stats.averageDownload, 3000.0f);
    }
};

QTEST_GUILESS_MAIN(TestMeterTick)
#include "tst_metertick.moc"
