#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/oledate.h"
#include "meter/trafficstats.h"

#include <QTest>

#include <limits>
#include <optional>

namespace {

// A fixed day (9 Dec 2025); only the time of day matters to the tick.
constexpr double kDay = 46000.0;
constexpr int kHour = 3600;

using Second = QPair<int, int>; // download, upload bytes

struct Step
{
    int secondOfDay = 12 * kHour;
    std::optional<int> typedLevel; // applySettings with this level before the tick
    int32_t download = 0;
};

FapParameters plan(int32_t cutOffLimit = 96888422, int32_t rechargeRate = 4096)
{
    FapParameters parameters;
    parameters.cutOffLimit = cutOffLimit;
    parameters.rechargeRate = rechargeRate;
    return parameters;
}

FapParameters offPeak(double startHour, double endHour)
{
    FapParameters parameters = plan();
    parameters.offPeakEnabled = true;
    parameters.offPeakCutOffLimit = 200000000;
    // A whole-day part on the start is ignored.
    parameters.offPeakStart = 36526.0 + startHour / 24.0;
    parameters.offPeakEnd = endHour / 24.0;
    return parameters;
}

QString trendText(LevelTrend trend)
{
    return trend == LevelTrend::Rising ? QStringLiteral("rising")
           : trend == LevelTrend::Falling ? QStringLiteral("falling")
                                          : QStringLiteral("steady");
}

// Every readout of the last tick on one line, in the order the monitor lists them.
QString readouts(const FapMeter &meter)
{
    return QStringList{restrictionText(meter.restriction()),
                       QString::number(meter.usedBytes()),
                       QString::number(meter.activeLimit()),
                       QString::number(meter.remaining()),
                       QString::number(meter.levelPercent()),
                       QString::number(meter.bytesToThrottle()),
                       QString::number(meter.bytesToCutOff(), 'g', 12),
                       formatDuration(meter.fullRecoverySeconds()),
                       formatDuration(meter.secondsToThrottle()),
                       formatDuration(meter.secondsToCutOff()),
                       trendText(meter.trend())}
        .join(u'|');
}

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(FapParameters)

class TestFapMeter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tick_data()
    {
        QTest::addColumn<FapParameters>("parameters");
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<uint>("downloadAfter"); // a frame after the ticks; 0: none
        QTest::addColumn<int>("usedAfter");

        const int throttle = 64592281, recharge = 4096;
        const auto row = [](const char *name, FapParameters parameters, QList<Step> steps, const char *expected,
                            uint downloadAfter = 0, int usedAfter = 0) {
            QTest::newRow(name) << parameters << steps << QString::fromLatin1(expected) << downloadAfter << usedAfter;
        };
        const auto level = [](int typed, int32_t download = 0) { return Step{12 * kHour, typed, download}; };
        const auto at = [](int second) { return Step{second, 0, 0}; };

        row("empty bucket stays empty", plan(), {level(0)},
            "none|0|96888422|96888422|100|64592281|96888422|00:00:00|-|-|steady");
        row("recharge clamps at 0", plan(), {level(3000)},
            "none|0|96888422|96888422|100|64592281|96888422|00:00:00|-|-|steady");
        row("recharge drains one second", plan(), {level(50000000)},
            "none|49995904|96888422|46892518|48|14596377|46892518|03:23:26|-|-|falling");
        row("typed negative level empties", plan(), {level(-5)},
            "none|0|96888422|96888422|100|64592281|96888422|00:00:00|-|-|steady");
        row("at the throttle limit", plan(), {level(throttle + recharge)},
            "none|64592281|96888422|32296141|33|0|32296141|04:22:49|-|-|falling");
        row("one byte above the throttle limit", plan(), {level(throttle + recharge + 1)},
            "THROTTLED|64592282|96888422|32296140|33|-1|32296140|04:22:49|00:00:00|-|falling");
        row("latch not set at the margin", plan(), {level(95888422 + recharge)},
            "THROTTLED|95888422|96888422|1000000|1|-31296141|1000000|06:30:10|02:07:20|-|falling");
        row("latch sets at 95888423", plan(), {level(95888423 + recharge)},
            "CUT OFF|95888423|96888422|999999|1|-31296142|-23222106.5|06:30:10|02:07:20|01:34:30|falling");
        row("latch holds at 72666317", plan(), {level(95888423 + recharge), level(72666317 + recharge)},
            "CUT OFF|72666317|96888422|24222105|24|-8074036|-0.5|04:55:40|00:32:51|00:00:01|rising");
        row("latch released at 72666316", plan(), {level(95888423 + recharge), level(72666316 + recharge)},
            "THROTTLED|72666316|96888422|24222106|25|-8074035|24222106|04:55:40|00:32:51|-|rising");
        row("small limit releases in the setting tick", plan(3000000), {level(2100000 + recharge)},
            "none|2100000|3000000|900000|30|62492281|900000|00:08:32|-|-|falling");
        row("throttled, draining", plan(), {level(70000000 + recharge)},
            "THROTTLED|70000000|96888422|26888422|27|-5407719|26888422|04:44:49|00:22:00|-|falling");
        // smoothedDownload 104096 after one second of 1040960 bytes: netRate -100000.
        row("filling toward both limits", plan(), {level(60000000 + recharge, 1040960)},
            "none|60000000|96888422|36888422|38|4592281|36888422|04:04:08|00:00:46|00:06:09|falling");
        row("cut off, draining to the release", plan(), {level(95888423 + recharge), level(90000000 + recharge)},
            "CUT OFF|90000000|96888422|6888422|7|-25407719|-17333683.5|06:06:12|01:43:23|01:10:32|rising");
        // While cut off, only a bucket that drains has a time to the release.
        row("cut off, net rate 0", plan(), {level(95888423 + recharge), level(90000000 + recharge, 40960)},
            "CUT OFF|90000000|96888422|6888422|7|-25407719|-17333683.5|06:06:12|-|-|rising");
        row("cut off, filling", plan(), {level(95888423 + recharge), level(90000000 + recharge, 1040960)},
            "CUT OFF|90000000|96888422|6888422|7|-25407719|-17333683.5|06:06:12|-|-|rising");
        row("net rate 0", plan(), {level(70000000 + recharge, 40960)},
            "THROTTLED|70000000|96888422|26888422|27|-5407719|26888422|04:44:49|-|-|falling");
        row("recharge rate 0", plan(96888422, 0), {level(70000000)},
            "THROTTLED|70000000|96888422|26888422|27|-5407719|26888422|-|-|-|falling");
        row("zero limit", plan(0), {level(0)}, "CUT OFF|0|0|0|0|64592281|0|00:00:00|-|00:00:00|steady");
        row("full frame into a zero limit", plan(0), {level(0)},
            "CUT OFF|0|0|0|0|64592281|0|00:00:00|-|00:00:00|steady", 1514, 0);

        const char *onPeak = "none|0|96888422|96888422|100|64592281|96888422|00:00:00|-|-|steady";
        const char *offPeakLimit = "none|0|200000000|200000000|100|64592281|200000000|00:00:00|-|-|steady";
        row("02-05 at 03:00", offPeak(2, 5), {at(3 * kHour)}, offPeakLimit);
        row("02-05 at 02:00:00", offPeak(2, 5), {at(2 * kHour)}, onPeak);
        row("02-05 at 02:00:01", offPeak(2, 5), {at(2 * kHour + 1)}, offPeakLimit);
        row("02-05 at 04:59:59", offPeak(2, 5), {at(5 * kHour - 1)}, offPeakLimit);
        row("02-05 at 05:00:00", offPeak(2, 5), {at(5 * kHour)}, onPeak);
        row("02-05 at 06:00", offPeak(2, 5), {at(6 * kHour)}, onPeak);
        row("22-06 at 23:00", offPeak(22, 6), {at(23 * kHour)}, offPeakLimit);
        row("22-06 at 01:00", offPeak(22, 6), {at(1 * kHour)}, offPeakLimit);
        row("22-06 at 12:00", offPeak(22, 6), {at(12 * kHour)}, onPeak);
        row("22-06 at 22:00:00", offPeak(22, 6), {at(22 * kHour)}, onPeak);
        row("22-06 at 06:00:00", offPeak(22, 6), {at(6 * kHour)}, onPeak);
        row("equal start and end", offPeak(3, 3), {at(3 * kHour + 1)}, onPeak);
        FapParameters disabled = offPeak(2, 5);
        disabled.offPeakEnabled = false;
        row("off peak disabled", disabled, {at(3 * kHour)}, onPeak);
        // The on-peak limit comes back under a full bucket: cut off, and the next frame clamps.
        // Above the on-peak limit nothing is left: no negative allowance or percentage.
        row("off peak end sets the latch", offPeak(2, 5),
            {Step{5 * kHour - 1, 150000000 + recharge, 0}, Step{5 * kHour, std::nullopt, 0}},
            "CUT OFF|149995904|96888422|0|0|-85403623|-77329587.5|10:10:20|05:47:30|05:14:40|rising", 1,
            96888422);
    }

    void tick()
    {
        QFETCH(FapParameters, parameters);
        QFETCH(QList<Step>, steps);
        QFETCH(QString, expected);
        QFETCH(uint, downloadAfter);
        QFETCH(int, usedAfter);

        FapMeter meter;
        TrafficStats stats;
        for (const Step &step : steps) {
            if (step.typedLevel)
                meter.applySettings(parameters, *step.typedLevel);
            meter.tick(kDay + step.secondOfDay / 86400.0, step.download, 0, stats);
        }
        QCOMPARE(readouts(meter), expected);
        if (downloadAfter != 0) {
            meter.addDownload(downloadAfter);
            QCOMPARE(meter.usedBytes(), usedAfter);
        }
    }

    void smoothedDownload()
    {
        FapMeter meter;
        TrafficStats stats;
        meter.applySettings(plan(), 0);
        const int32_t seconds[] = {1040960, 0, 0, 5};
        const int32_t expected[] = {104096, 93686, 84317, 75885};
        for (int i = 0; i < 4; ++i) {
            meter.tick(kDay, seconds[i], 0, stats);
            QCOMPARE(meter.smoothedDownload(), expected[i]);
            QCOMPARE(meter.netRate(), int64_t(4096) - expected[i]);
        }
    }

    // A confirmation takes the typed level and the on-peak limit, and keeps the latch.
    void applySettingsKeepsLatch()
    {
        FapMeter meter;
        TrafficStats stats;
        meter.applySettings(offPeak(2, 5), 199500000);
        meter.tick(kDay + 3.0 / 24, 0, 0, stats);
        QVERIFY(meter.cutOff());
        QCOMPARE(meter.activeLimit(), 200000000);
        meter.applySettings(offPeak(2, 5), 1000);
        QCOMPARE(meter.usedBytes(), 1000);
        QCOMPARE(meter.activeLimit(), 96888422);
        QVERIFY(meter.cutOff());
        meter.resetLevel();
        QCOMPARE(meter.usedBytes(), 0);
        QVERIFY(!meter.cutOff());
    }

    void barFill_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("expected");
        const int max = std::numeric_limits<int32_t>::max();
        QTest::newRow("level 7%") << 96888422 << 90000000 << 100 << 7;
        QTest::newRow("one byte short of full") << 96888422 << 1 << 200 << 199;
        QTest::newRow("empty bucket") << 96888422 << 0 << 200 << 200;
        QTest::newRow("above the limit") << 96888422 << 96888423 << 200 << 0;
        QTest::newRow("zero limit") << 0 << 0 << 200 << 0;
        QTest::newRow("zero width") << 96888422 << 0 << 0 << 0;
        QTest::newRow("huge product") << 1 << max << max << 0;
    }

    void barFill()
    {
        QFETCH(int, limit);
        QFETCH(int, level);
        QFETCH(int, width);
        QFETCH(int, expected);
        FapMeter meter;
        TrafficStats stats;
        meter.applySettings(plan(limit, 0), level);
        meter.tick(kDay, 0, 0, stats);
        QCOMPARE(meter.barFill(width), expected);
    }

    void catchUp_data()
    {
        QTest::addColumn<int>("secondsSinceSave"); // negative: a save "in the future"
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("expected");
        QTest::newRow("one hour") << 3600 << 50000000 << 35254400;
        QTest::newRow("thirteen hours") << 13 * 3600 << 90000000 << 0;
        QTest::newRow("seven days, no wrap") << 7 * 86400 << 90000000 << 0;
        QTest::newRow("seven days from the top") << 7 * 86400 << std::numeric_limits<int32_t>::max() << 0;
        QTest::newRow("clock set back two hours") << -7200 << 50000000 << 20508800;
        QTest::newRow("no time passed") << 0 << 50000000 << 50000000;
    }

    void catchUp()
    {
        QFETCH(int, secondsSinceSave);
        QFETCH(int, saved);
        QFETCH(int, expected);
        const QDateTime now(QDate(2026, 1, 15), QTime(12, 0, 0, 250));
        FapMeter meter;
        meter.applySettings(plan(), saved);
        meter.catchUp(oleDate(now.addSecs(-secondsSinceSave)), oleDate(now));
        QCOMPARE(meter.usedBytes(), expected);
    }

    void catchUpUnknownTime()
    {
        FapMeter meter;
        meter.applySettings(plan(), 5000);
        meter.catchUp(std::numeric_limits<double>::quiet_NaN(), kDay);
        QCOMPARE(meter.usedBytes(), 5000);
        meter.catchUp(-1.0e300, kDay);
        QCOMPARE(meter.usedBytes(), 0);
    }

    void stats_data()
    {
        QTest::addColumn<QList<Second>>("seconds");
        QTest::addColumn<QString>("expected");               // averageDownload instantDownload averageUpload instantUpload
        QTest::newRow("first download seeds") << QList<Second>{{10000, 0}} << QStringLiteral("10000 1000 0 0");
        QTest::newRow("idle second holds") << QList<Second>{{10000, 0}, {0, 0}} << QStringLiteral("10000 1000 0 0");
        QTest::newRow("second active second") << QList<Second>{{10000, 0}, {20000, 0}}
                                              << QStringLiteral("10100 2900 0 0");
        QTest::newRow("first upload") << QList<Second>{{0, 1000}} << QStringLiteral("0 0 10 109");
        QTest::newRow("idle upload holds") << QList<Second>{{0, 1000}, {0, 0}} << QStringLiteral("0 0 10 109");
        QTest::newRow("both ways") << QList<Second>{{10000, 1000}} << QStringLiteral("10000 1000 10 109");
    }

    void stats()
    {
        QFETCH(QList<Second>, seconds);
        QFETCH(QString, expected);
        TrafficStats stats;
        for (const auto &[download, upload] : seconds)
            stats.tick(download, upload);
        const auto text = [](double value) { return QString::number(value, 'g', 9); };
        QCOMPARE(QStringList({text(stats.averageDownload), text(stats.instantDownload), text(stats.averageUpload),
                              text(stats.instantUpload)})
                     .join(u' '),
                 expected);
        stats.reset();
        stats.tick(5000, 0);
        QCOMPARE(stats.averageDownload, 5000.0f); // seeded again after a reset
    }

    void formatCount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("grouped, half up") << 1234567.5 << english << QStringLiteral("1,234,568");
        QTest::newRow("negative") << -1234.0 << english << QStringLiteral("-1,234");
        QTest::newRow("zero") << 0.0 << english << QString();
        QTest::newRow("0.4") << 0.4 << english << QString();
        QTest::newRow("0.5") << 0.5 << english << QStringLiteral("1");
        QTest::newRow("-0.5") << -0.5 << english << QStringLiteral("-1");
        QTest::newRow("-0.4") << -0.4 << english << QString();
        QTest::newRow("three digits") << 999.0 << english << QStringLiteral("999");
        QTest::newRow("four digits") << 1000.0 << english << QStringLiteral("1,000");
        QTest::newRow("bytes to cut off") << -17333683.5 << english << QStringLiteral("-17,333,684");
        QTest::newRow("64-bit total") << 4294967296.0 << english << QStringLiteral("4,294,967,296");
        QTest::newRow("locale separator") << 1234567.0 << german << QStringLiteral("1.234.567");
    }

    void formatCount()
    {
        QFETCH(double, value);
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        QCOMPARE(::formatCount(value, locale), expected);
    }

    void formatDuration_data()
    {
        QTest::addColumn<qint64>("seconds"); // -1: no estimate
        QTest::addColumn<QString>("expected");
        QTest::newRow("no estimate") << qint64(-1) << QStringLiteral("-");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("00:00:00");
        QTest::newRow("3661") << qint64(3661) << QStringLiteral("01:01:01");
        QTest::newRow("100 hours") << qint64(360000) << QStringLiteral("100:00:00");
        QTest::newRow("no day part") << qint64(443109) << QStringLiteral("123:05:09");
    }

    void formatDuration()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, expected);
        QCOMPARE(::formatDuration(seconds < 0 ? std::nullopt : std::optional<int64_t>(seconds)), expected);
    }
};

QTEST_GUILESS_MAIN(TestFapMeter)
#include "tst_fapmeter.moc"
