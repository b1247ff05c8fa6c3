#include "meter/meteredrule.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int32_t throttle = 100000000;

struct GivenTick
{
    double percent = 0; // of the way to the throttle limit
    Restriction restriction = Restriction::None;
    int repeat = 1;
    int32_t throttleLimit = throttle;
};

// How the connection answers: what a mark finds there, or a failure of every change.
struct Connection
{
    MeteredValue found = MeteredValue::No;
    bool fails = false;
};

// "tick change; tick change" for the sequence, each change ending before the next tick: a mark
// written, one left alone because the connection counts as metered already, a value put back.
QString run(MeteredRule &rule, const QList<GivenTick> &ticks, const Connection &connection)
{
    QStringList done;
    int index = 0;
    for (const GivenTick &given : ticks) {
        for (int i = 0; i < given.repeat; ++i, ++index) {
            AlertReading reading;
            reading.restriction = given.restriction;
            reading.throttleLimit = given.throttleLimit;
            reading.usedBytes = int64_t(given.percent * throttle / 100);
            const MeteredRule::Action action = rule.tick(reading);
            if (action == MeteredRule::Action::None)
                continue;
            // Nothing more while the change goes.
            if (!rule.busy() || rule.tick(reading) != MeteredRule::Action::None)
                done.append(u"%1 not busy"_s.arg(index));
            QString what = u"back"_s;
            if (connection.fails) {
                rule.failed();
                what = u"failed"_s;
            } else if (action == MeteredRule::Action::Mark) {
                const bool written = MeteredRule::markOver(connection.found).has_value();
                rule.marked(written ? std::optional(connection.found) : std::nullopt);
                what = written ? u"mark"_s : u"left"_s;
            } else {
                rule.putBack();
            }
            done.append(u"%1 %2"_s.arg(index).arg(what));
        }
    }
    return done.join(u"; "_s);
}

} // namespace

Q_DECLARE_METATYPE(QList<GivenTick>)
Q_DECLARE_METATYPE(Connection)
Q_DECLARE_METATYPE(MeteredValue)
Q_DECLARE_METATYPE(std::optional<MeteredValue>)

class TestMeteredRule : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequences_data()
    {
        using R = Restriction;
        using V = MeteredValue;
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("step");
        QTest::addColumn<QList<GivenTick>>("ticks");
        QTest::addColumn<Connection>("connection");
        QTest::addColumn<QString>("done");

        QTest::newRow("off: nothing, whatever the bucket")
            << false << 90 << QList<GivenTick>{{50}, {99}, {120, R::Throttled}, {100, R::CutOff}} << Connection{}
            << QString();
        QTest::newRow("above the step, not at it")
            << true << 90 << QList<GivenTick>{{89}, {90}, {90.5}, {95}} << Connection{} << u"2 mark"_s;
        QTest::newRow("back only below the step less the margin")
            << true << 90 << QList<GivenTick>{{91}, {86}, {85}, {91}, {84.9}, {80}} << Connection{}
            << u"0 mark; 4 back"_s;
        QTest::newRow("throttled below the step: marked until the restriction ends")
            << true << 90 << QList<GivenTick>{{50}, {60, R::Throttled}, {40, R::Throttled, 5}, {40}}
            << Connection{} << u"1 mark; 7 back"_s;
        QTest::newRow("cut off marks too") << true << 100 << QList<GivenTick>{{99}, {99, R::CutOff}, {70}}
                                           << Connection{} << u"1 mark; 2 back"_s;
        QTest::newRow("each crossing once, hovering at the step")
            << true << 80 << QList<GivenTick>{{81}, {79}, {81}, {76}, {81}, {74}, {81}} << Connection{}
            << u"0 mark; 5 back; 6 mark"_s;
        QTest::newRow("the user's own yes is left alone, and nothing put back")
            << true << 90 << QList<GivenTick>{{95}, {50}, {95}, {50}} << Connection{V::Yes} << u"0 left; 2 left"_s;
        QTest::newRow("NetworkManager's guess of yes is left alone")
            << true << 90 << QList<GivenTick>{{95}, {96}, {50}} << Connection{V::GuessYes} << u"0 left"_s;
        QTest::newRow("a guess of no is marked")
            << true << 90 << QList<GivenTick>{{95}, {50}} << Connection{V::GuessNo} << u"0 mark; 1 back"_s;
        QTest::newRow("a failure: one try, no more")
            << true << 90 << QList<GivenTick>{{95}, {50}, {95, R::Throttled, 3}} << Connection{V::No, true}
            << u"0 failed"_s;
        QTest::newRow("a step below the lowest counts as the lowest")
            << true << 1 << QList<GivenTick>{{5}, {MeteredRule::lowestStep + 0.5}, {0}} << Connection{}
            << u"1 mark; 2 back"_s;
        QTest::newRow("no throttle limit: only the restriction counts")
            << true << 90 << QList<GivenTick>{{95, R::None, 1, 0}, {95, R::Throttled, 1, 0}, {95, R::None, 1, 0}}
            << Connection{} << u"1 mark; 2 back"_s;
    }

    void sequences()
    {
        QFETCH(bool, enabled);
        QFETCH(int, step);
        QFETCH(QList<GivenTick>, ticks);
        QFETCH(Connection, connection);
        QFETCH(QString, done);
        MeteredRule rule;
        rule.setConfig(enabled, step);
        QCOMPARE(run(rule, ticks, connection), done);
    }

    // Turned off while marked: the earlier value goes back at the next tick; owed until then.
    void turnedOffWhileMarked()
    {
        MeteredRule rule;
        rule.setConfig(true, 90);
        QCOMPARE(run(rule, {{95}}, Connection{MeteredValue::Unknown}), u"0 mark"_s);
        QCOMPARE(rule.owedValue(), std::optional(MeteredValue::Unknown));
        rule.setConfig(false, 90);
        QCOMPARE(run(rule, {{95}}, Connection{}), u"0 back"_s);
        QCOMPARE(rule.owedValue(), std::nullopt);
    }

    // A value recorded by an earlier run goes back before anything else, then the level rules.
    void resumed()
    {
        MeteredRule rule;
        rule.setConfig(true, 90);
        QCOMPARE(rule.resume(MeteredValue::No), MeteredRule::Action::PutBack);
        QCOMPARE(rule.owedValue(), std::optional(MeteredValue::No));
        AlertReading high;
        high.throttleLimit = throttle;
        high.usedBytes = throttle;
        QCOMPARE(rule.tick(high), MeteredRule::Action::None);
        rule.putBack();
        QCOMPARE(rule.tick(high), MeteredRule::Action::Mark);
    }

    void valuesWritten_data()
    {
        using V = MeteredValue;
        QTest::addColumn<MeteredValue>("found");
        QTest::addColumn<MeteredValue>("earlier");
        QTest::addColumn<std::optional<MeteredValue>>("mark");
        QTest::addColumn<std::optional<MeteredValue>>("putBack");
        const std::optional<MeteredValue> none;
        QTest::newRow("unknown: marked, then put back")
            << V::Unknown << V::Unknown << std::optional(V::Yes) << none;
        QTest::newRow("no: marked") << V::No << V::No << std::optional(V::Yes) << none;
        QTest::newRow("yes, ours: the earlier no goes back") << V::Yes << V::No << none << std::optional(V::No);
        QTest::newRow("yes, ours: the earlier unknown goes back")
            << V::Yes << V::Unknown << none << std::optional(V::Unknown);
        QTest::newRow("yes, ours: the earlier guess goes back")
            << V::Yes << V::GuessNo << none << std::optional(V::GuessNo);
        QTest::newRow("yes recorded as the earlier value: nothing to write")
            << V::Yes << V::Yes << none << none;
        QTest::newRow("no since: someone else's choice stands") << V::No << V::Unknown << std::optional(V::Yes) << none;
        QTest::newRow("guess yes: left alone") << V::GuessYes << V::No << none << none;
    }

    void valuesWritten()
    {
        QFETCH(MeteredValue, found);
        QFETCH(MeteredValue, earlier);
        QFETCH(std::optional<MeteredValue>, mark);
        QFETCH(std::optional<MeteredValue>, putBack);
        QCOMPARE(MeteredRule::markOver(found), mark);
        QCOMPARE(MeteredRule::putBackOver(found, earlier), putBack);
    }
};

QTEST_APPLESS_MAIN(TestMeteredRule)
#include "tst_meteredrule.moc"
