#include "meter/alertrules.h"
#include "meter/oledate.h"
#include "meter/planner.h"
#include "meter/trafficstats.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int32_t throttle = 100000000;
constexpr double noon = 46366.5; // Thu 10 Dec 2026 12:00 local time

// One tick of a sequence; `repeat` ticks alike.
struct GivenTick
{
    double percent = 0; // of the way to the throttle limit
    Restriction restriction = Restriction::None;
    std::optional<int64_t> toThrottle = {};
    int repeat = 1;
    bool stopped = false;
    uint64_t dropped = 0;
    int64_t fill = 0; // bytes per second the bucket fills; 0: as fast as `toThrottle` says
    QString topProgram = {};
};

AlertReading reading(const GivenTick &given)
{
    AlertReading r;
    r.now = oleDateToDateTime(noon);
    r.restriction = given.restriction;
    r.throttleLimit = throttle;
    r.usedBytes = int64_t(given.percent * throttle / 100);
    r.bytesToCutOff = 20000000;
    r.secondsToThrottle = given.toThrottle;
    if (given.fill > 0)
        r.netRate = -given.fill;
    else if (given.toThrottle)
        r.netRate = -(int64_t(throttle) - r.usedBytes) / *given.toThrottle;
    if (given.restriction == Restriction::CutOff)
        r.secondsToCutOff = 3600;
    r.fullRecoverySeconds = 7200;
    r.captureStopped = given.stopped;
    r.captureMessage = u"Capture stopped: eth0 is gone"_s;
    r.droppedFrames = given.dropped;
    r.topProgram = given.topProgram;
    return r;
}

// In the order of Alert::Kind.
const char *const kindNames[] = {"step", "warning", "throttled", "cutoff", "recovered", "released", "stopped", "dropped"};

QString kindName(const Alert &alert)
{
    const QString name = QLatin1String(kindNames[int(alert.kind)]);
    return alert.kind == Alert::Kind::Step ? name + alert.summary.section(u' ', 0, 0) : name;
}

// "tick kind; tick kind" for every alert of the sequence, ticks counted from 0.
QString run(AlertRules &rules, const QList<GivenTick> &ticks)
{
    QStringList told;
    int index = 0;
    for (const GivenTick &given : ticks) {
        for (int i = 0; i < given.repeat; ++i, ++index) {
            for (const Alert &alert : rules.tick(reading(given)))
                told.append(u"%1 %2"_s.arg(index).arg(kindName(alert)));
        }
    }
    return told.join(u"; "_s);
}

// The alerts of the last of the tick's repeats.
QList<Alert> oneTick(const GivenTick &given)
{
    AlertRules rules({}, QLocale::c());
    QList<Alert> alerts;
    for (int i = 0; i < given.repeat; ++i)
        alerts = rules.tick(reading(given));
    return alerts;
}

} // namespace

Q_DECLARE_METATYPE(QList<GivenTick>)
Q_DECLARE_METATYPE(std::optional<int64_t>)

class TestAlertRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequences_data()
    {
        using R = Restriction;
        QTest::addColumn<QList<GivenTick>>("ticks");
        QTest::addColumn<QString>("told");

        QTest::newRow("each step once, rising")
            << QList<GivenTick>{{50}, {76}, {80}, {91}, {95}} << u"1 step75; 3 step90"_s;
        QTest::newRow("a jump past both steps tells the highest")
            << QList<GivenTick>{{10}, {95}} << u"1 step90"_s;
        QTest::newRow("a level hovering at a step is told once, again after the margin")
            << QList<GivenTick>{{74}, {76}, {74.5}, {75.5}, {73.5}, {76}, {72}, {76}}
            << u"1 step75; 7 step75"_s;
        // The margin is 2 % of the throttle limit: a drop to it exactly does not re-arm the step.
        QTest::newRow("a drop to the margin exactly") << QList<GivenTick>{{76}, {73}, {76}} << u"0 step75"_s;
        QTest::newRow("a drop past the margin") << QList<GivenTick>{{76}, {72.9}, {76}} << u"0 step75; 2 step75"_s;
        QTest::newRow("a level hovering at the throttle limit")
            << QList<GivenTick>{{99}, {101, R::Throttled}, {99.5}, {100.5, R::Throttled}, {98.5}, {97.9},
                               {101, R::Throttled}}
            << u"0 step90; 1 throttled; 5 recovered; 6 throttled"_s;
        QTest::newRow("the warning once the throttle has been within 10 minutes for 30 s")
            << QList<GivenTick>{{50, R::None, 1200}, {60, R::None, 700}, {65, R::None, 590, 30}, {66, R::None, 400},
                               {67}, {68, R::None, 300}, {62}, {63.5, R::None, 500, 30}}
            << u"31 warning; 65 warning"_s;
        QTest::newRow("bursts shorter than 30 s say nothing")
            << QList<GivenTick>{{50}, {66, R::None, 400, 29}, {67}, {66, R::None, 400, 29}, {66}} << QString();
        // 60,000,000 bytes to go: at 100,001 bytes a second the 600th tick is above the limit, at
        // 100,000 the bucket is at the limit exactly then, and above it a tick later.
        QTest::newRow("throttled in exactly 10 minutes")
            << QList<GivenTick>{{.percent = 40, .repeat = 30, .fill = 100001}} << u"29 warning"_s;
        QTest::newRow("throttled in 10 minutes and a second")
            << QList<GivenTick>{{.percent = 40, .repeat = 30, .fill = 100000}} << QString();
        // After a warning at 65 %, a drop of 1 % or of 2 % exactly keeps it quiet; past 2 % re-arms it.
        QTest::newRow("the warning's margin")
            << QList<GivenTick>{{65, R::None, 590, 30}, {64}, {63}, {64.5, R::None, 500, 30}, {62.9},
                               {63.5, R::None, 500, 30}}
            << u"29 warning; 92 warning"_s;
        QTest::newRow("no warning once throttled, again after the recovery")
            << QList<GivenTick>{{101, R::Throttled}, {99, R::None, 100}, {97}, {97, R::None, 100, 30}}
            << u"0 throttled; 2 recovered; 32 warning"_s;
        QTest::newRow("cut off, released while throttled, then recovered")
            << QList<GivenTick>{{95}, {140, R::CutOff}, {120, R::CutOff}, {110, R::Throttled}, {99, R::None},
                               {97, R::None}}
            << u"0 step90; 1 cutoff; 3 released; 5 recovered"_s;
        QTest::newRow("a cut-off released below the throttle limit is one alert")
            << QList<GivenTick>{{140, R::CutOff}, {50}, {60}} << u"0 cutoff; 1 released"_s;
        QTest::newRow("a capture stopped is told again only after it has run a minute")
            << QList<GivenTick>{{.stopped = true}, {.stopped = true}, {.repeat = 59}, {.stopped = true},
                               {.repeat = 60}, {.stopped = true}}
            << u"0 stopped; 122 stopped"_s;
        QTest::newRow("dropped frames are told again after five quiet minutes")
            << QList<GivenTick>{{}, {.dropped = 5}, {.dropped = 9}, {.repeat = 300, .dropped = 9}, {.dropped = 12}}
            << u"1 dropped; 303 dropped"_s;
        QTest::newRow("drops that keep coming are told once")
            << QList<GivenTick>{{.dropped = 5}, {.repeat = 299, .dropped = 5}, {.dropped = 7}, {.dropped = 8}}
            << u"0 dropped"_s;
    }

    void sequences()
    {
        QFETCH(QList<GivenTick>, ticks);
        QFETCH(QString, told);
        AlertRules rules({}, QLocale::c());
        QCOMPARE(run(rules, ticks), told);
    }

    void settingsChange()
    {
        AlertRules rules({}, QLocale::c());
        QCOMPARE(run(rules, {{80}}), u"0 step75"_s);
        // Steps up to the one told stay told; a higher new one is told when passed.
        rules.setConfig({true, {50, 75, 85}, 10});
        QCOMPARE(run(rules, {{80}, {86}}), u"1 step85"_s);
        // Switched off, the rules still follow: switching on again replays nothing.
        rules.setConfig({false, {50, 75, 85}, 10});
        QCOMPARE(run(rules, {{101, Restriction::Throttled}, {60}}), QString());
        rules.setConfig({true, {50, 75, 85}, 10});
        QCOMPARE(run(rules, {{60}, {101, Restriction::Throttled}}), u"1 throttled"_s);
        // No warning minutes, no warning.
        rules.setConfig({true, {}, 0});
        QCOMPARE(run(rules, {{10}, {50, Restriction::None, 1}}), u"0 recovered"_s);
    }

    void texts_data()
    {
        QTest::addColumn<GivenTick>("tick");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("body");
        QTest::newRow("step") << GivenTick{75, Restriction::None, 1200} << u"75 % of the way to the throttle limit"_s
                              << u"25,000,000 bytes to throttle, 00:20:00 at the current speed."_s;
        QTest::newRow("warning") << GivenTick{80, Restriction::None, 530, 30} << u"Throttled soon"_s
                                 << u"At the current speed you will be throttled in 9 minutes (at about 12:08): "
                                    "20,000,000 bytes to throttle."_s;
        QTest::newRow("throttled") << GivenTick{101, Restriction::Throttled, 900} << u"Throttled"_s
                                   << u"20,000,000 bytes to cut off; below the throttle limit again at about 12:15."_s;
        // The program that filled the bucket most in the last hour, where it is known.
        QTest::newRow("warning naming the top program")
            << GivenTick{.percent = 80, .toThrottle = 530, .repeat = 30, .topProgram = u"Firefox"_s} << u"Throttled soon"_s
            << u"At the current speed you will be throttled in 9 minutes (at about 12:08): "
               "20,000,000 bytes to throttle. Downloaded most in the last hour: Firefox."_s;
        QTest::newRow("throttled naming the top program")
            << GivenTick{.percent = 101, .restriction = Restriction::Throttled, .toThrottle = 900, .topProgram = u"steam"_s} << u"Throttled"_s
            << u"20,000,000 bytes to cut off; below the throttle limit again at about 12:15. Downloaded most in "
               "the last hour: steam."_s;
        QTest::newRow("step names no program")
            << GivenTick{.percent = 75, .toThrottle = 1200, .topProgram = u"steam"_s} << u"75 % of the way to the throttle limit"_s
            << u"25,000,000 bytes to throttle, 00:20:00 at the current speed."_s;
        QTest::newRow("cut off") << GivenTick{140, Restriction::CutOff} << u"Cut off"_s
                                 << u"Cut off until about 13:00; full recovery at about 14:00."_s;
        QTest::newRow("capture stopped") << GivenTick{.stopped = true} << u"Capture stopped"_s
                                         << u"Capture stopped: eth0 is gone. Downloads are not counted until it "
                                            "is back."_s;
        QTest::newRow("frames dropped") << GivenTick{.dropped = 1234} << u"Frames dropped"_s
                                        << u"Frames dropped by the capture: 1,234. The bucket misses their bytes."_s;
    }

    void texts()
    {
        QFETCH(GivenTick, tick);
        QFETCH(QString, summary);
        QFETCH(QString, body);
        const QList<Alert> alerts = oneTick(tick);
        QVERIFY(!alerts.isEmpty());
        QCOMPARE(alerts.last().summary, summary);
        QCOMPARE(alerts.last().body, body);
        QCOMPARE(alerts.last().urgent, alerts.last().kind == Alert::Kind::CutOff);
    }

    void timesOnAnotherDayNameTheDay()
    {
        AlertReading r = reading({140, Restriction::CutOff});
        r.fullRecoverySeconds = 86400 + 600;
        AlertRules rules({}, QLocale::c());
        QCOMPARE(rules.tick(r).last().body, u"Cut off until about 13:00; full recovery at about Fri 12:10."_s);
    }

    // The time "Throttled soon" names is the planner's for a download at the current rate.
    void ticksToThrottleAgreeWithThePlanner_data()
    {
        QTest::addColumn<int>("used");
        QTest::addColumn<int>("speed");
        QTest::addColumn<std::optional<int64_t>>("ticks");
        using T = std::optional<int64_t>;
        QTest::newRow("reaching the limit exactly, then above") << 40000000 << 104096 << T(601);
        QTest::newRow("past the limit within a tick") << 40000000 << 104097 << T(600);
        QTest::newRow("from an empty bucket") << 0 << 1004096 << T(101);
        QTest::newRow("at the limit") << 100000000 << 5000 << T(1);
        QTest::newRow("as fast as the recharge") << 40000000 << 4096 << T();
        QTest::newRow("slower than the recharge") << 40000000 << 2000 << T();
        QTest::newRow("above the limit") << 100000001 << 104096 << T();
    }
    void ticksToThrottleAgreeWithThePlanner()
    {
        QFETCH(int, used);
        QFETCH(int, speed);
        QFETCH(std::optional<int64_t>, ticks);
        const FapParameters parameters{4096, 2000000000, throttle, false, 0, 0, 0};
        AlertReading r;
        r.usedBytes = used;
        r.throttleLimit = throttle;
        r.netRate = parameters.rechargeRate - speed;
        QCOMPARE(ticksToThrottle(r), ticks);
        // Still downloading when the week the planner looks at ends.
        const DownloadPlan plan =
            planDownload({parameters, used, false, oleDateToDateTime(noon), int64_t(speed) * 8 * 86400, speed});
        if (used <= throttle)
            QCOMPARE(plan.throttleAfter, ticks);
    }

    void readingFromTheBucket()
    {
        FapMeter meter;
        meter.applySettings(FapParameters{1000, 96888422, 64592281, false, 0, 0, 0}, 70000000);
        TrafficStats stats;
        meter.tick(noon, 0, 0, stats);
        const AlertReading r = alertReading(oleDateToDateTime(noon), meter);
        QCOMPARE(r.usedBytes, 69999000);
        QCOMPARE(r.throttleLimit, 64592281);
        QCOMPARE(r.restriction, Restriction::Throttled);
        QCOMPARE(r.secondsToThrottle, meter.secondsToThrottle());
        QCOMPARE(r.netRate, meter.netRate());
        QCOMPARE(r.fullRecoverySeconds, std::optional<int64_t>(69999));
    }
};

QTEST_MAIN(TestAlertRules)
#include "tst_alertrules.moc"
