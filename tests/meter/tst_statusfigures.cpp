#include "meter/fapmeter.h"
#include "meter/statusfigures.h"
#include "meter/trafficstats.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QString>)

Q_DECLARE_METATYPE(StatusFigures)

// The status line and its JSON form: what status bars parse, so the keys and the texts must not drift.
class TestStatusFigures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lineAndJson_data()
    {
        QTest::addColumn<StatusFigures>("figures");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("json");

        QTest::newRow("counting, no restriction")
            << StatusFigures{true, Restriction::None, 62, 93000000, 18000000, 4500, std::nullopt, 4000, 0}
            << "none 62% | left 93,000,000 bytes | to throttle 01:15:00 | to cut off - | down 4,000 bytes / s"
               " | up 0 bytes / s"
            << QByteArray(R"({"bytes_left":93000000,"bytes_to_throttle":18000000,"class":"none",)"
                          R"("download_bytes_per_second":4000,"idle":false,"monitoring":true,"percent_left":62,"percentage":62,)"
                          R"("restriction":"none","seconds_to_cut_off":null,"seconds_to_throttle":4500,)"
                          R"("text":"none 62% | left 93,000,000 bytes | to throttle 01:15:00 | to cut off - | )"
                          R"(down 4,000 bytes / s | up 0 bytes / s","upload_bytes_per_second":0,"version":1})");
        QTest::newRow("throttled, filling")
            << StatusFigures{true, Restriction::Throttled, 9, 13500000, -1500000, std::nullopt, 300, 50000, 1234}
            << "THROTTLED 9% | left 13,500,000 bytes | to throttle - | to cut off 00:05:00 | down 50,000 bytes / s"
               " | up 1,234 bytes / s"
            << QByteArray(R"({"bytes_left":13500000,"bytes_to_throttle":-1500000,"class":"throttled",)"
                          R"("download_bytes_per_second":50000,"idle":false,"monitoring":true,"percent_left":9,"percentage":9,)"
                          R"("restriction":"throttled","seconds_to_cut_off":300,"seconds_to_throttle":null,)"
                          R"("text":"THROTTLED 9% | left 13,500,000 bytes | to throttle - | to cut off 00:05:00 | )"
                          R"(down 50,000 bytes / s | up 1,234 bytes / s","upload_bytes_per_second":1234,"version":1})");
        QTest::newRow("cut off, draining")
            << StatusFigures{true, Restriction::CutOff, 0, 0, -15000000, 7500, 3750, 0, 0}
            << "CUT OFF 0% | left 0 bytes | to throttle 02:05:00 | to cut off 01:02:30 | down 0 bytes / s"
               " | up 0 bytes / s"
            << QByteArray(R"({"bytes_left":0,"bytes_to_throttle":-15000000,"class":"cut_off",)"
                          R"("download_bytes_per_second":0,"idle":false,"monitoring":true,"percent_left":0,"percentage":0,)"
                          R"("restriction":"cut_off","seconds_to_cut_off":3750,"seconds_to_throttle":7500,)"
                          R"("text":"CUT OFF 0% | left 0 bytes | to throttle 02:05:00 | to cut off 01:02:30 | )"
                          R"(down 0 bytes / s | up 0 bytes / s","upload_bytes_per_second":0,"version":1})");
        // Nothing moved in the last tick: the held speeds are not news for a script.
        QTest::newRow("idle")
            << StatusFigures{true, Restriction::None, 62, 93000000, 18000000, std::nullopt, std::nullopt, 4000, 12, true}
            << "none 62% | left 93,000,000 bytes | to throttle - | to cut off - | idle"
            << QByteArray(R"({"bytes_left":93000000,"bytes_to_throttle":18000000,"class":"none",)"
                          R"("download_bytes_per_second":4000,"idle":true,"monitoring":true,"percent_left":62,)"
                          R"("percentage":62,"restriction":"none","seconds_to_cut_off":null,"seconds_to_throttle":null,)"
                          R"("text":"none 62% | left 93,000,000 bytes | to throttle - | to cut off - | idle",)"
                          R"("upload_bytes_per_second":12,"version":1})");
        // Before the first Ok nothing has ticked: the figures are not the bucket's yet.
        QTest::newRow("options not confirmed yet")
            << StatusFigures{} << "not counting yet: the options wait for Ok"
            << QByteArray(R"({"bytes_left":0,"bytes_to_throttle":0,"class":"none",)"
                          R"("download_bytes_per_second":0,"idle":false,"monitoring":false,"percent_left":null,"percentage":null,)"
                          R"("restriction":"none","seconds_to_cut_off":null,"seconds_to_throttle":null,)"
                          R"("text":"not counting yet: the options wait for Ok",)"
                          R"("upload_bytes_per_second":0,"version":1})");
    }
    void lineAndJson()
    {
        QFETCH(StatusFigures, figures);
        QFETCH(QString, line);
        QFETCH(QByteArray, json);
        QCOMPARE(statusLine(figures, QLocale::c()), line);
        QCOMPARE(statusJson(figures, QLocale::c()), json);
    }

    // While programs are attributed, the top program of the last minute, or null for none.
    void topProgram_data()
    {
        QTest::addColumn<std::optional<QString>>("top");
        QTest::addColumn<QJsonValue>("value");
        QTest::newRow("not attributed") << std::optional<QString>() << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("a program") << std::optional<QString>(u"Firefox Web Browser"_s) << QJsonValue(u"Firefox Web Browser"_s);
        QTest::newRow("none downloaded") << std::optional<QString>(QString()) << QJsonValue(QJsonValue::Null);
    }
    void topProgram()
    {
        QFETCH(std::optional<QString>, top);
        QFETCH(QJsonValue, value);
        const QJsonObject object = QJsonDocument::fromJson(statusJson(StatusFigures{}, QLocale::c(), top)).object();
        QCOMPARE(object.value(u"top_program"_s), value);
        QCOMPARE(object.value(u"version"_s), QJsonValue(statusVersion));
    }

    // The figures are the readouts the monitor shows after a tick.
    void figuresAreTheMetersReadouts()
    {
        FapMeter meter;
        TrafficStats stats;
        meter.applySettings(FapParameters{.rechargeRate = 4000, .cutOffLimit = 100000000, .throttleLimit = 75000000},
                            80000000);
        meter.tick(46000.5, 60000, 700, stats);
        const StatusFigures figures = statusFigures(meter, stats, true);
        QCOMPARE(figures.restriction, meter.restriction());
        QCOMPARE(figures.percentLeft, meter.levelPercent());
        QCOMPARE(figures.bytesLeft, meter.remaining());
        QCOMPARE(figures.bytesToThrottle, meter.bytesToThrottle());
        QCOMPARE(figures.secondsToThrottle, meter.secondsToThrottle());
        QCOMPARE(figures.secondsToCutOff, meter.secondsToCutOff());
        QCOMPARE(figures.downloadSpeed, int64_t(stats.instantDownload));
        QCOMPARE(figures.uploadSpeed, int64_t(std::llround(stats.instantUpload)));
        QCOMPARE(figures.restriction, Restriction::Throttled);
        QVERIFY(!figures.idle);
        // A tick without a byte either way is idle; the speeds hold.
        meter.tick(46000.5, 0, 0, stats);
        QVERIFY(statusFigures(meter, stats, true).idle);
        QCOMPARE(statusFigures(meter, stats, true).downloadSpeed, figures.downloadSpeed);
        meter.tick(46000.5, 0, 5, stats);
        QVERIFY(!statusFigures(meter, stats, true).idle);
    }
};

QTEST_GUILESS_MAIN(TestStatusFigures)
#include "tst_statusfigures.moc"
