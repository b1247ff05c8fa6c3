#include "settings/addressentry.h"
#include "settings/appsettings.h"
#include "settings/optionvalues.h"
#include "settings/profile.h"

#include <QTest>

#include <utility>

// Declared before the tables use them; a Release build refuses them later.
Q_DECLARE_METATYPE(NumberReading::Outcome)
Q_DECLARE_METATYPE(Rounding)
Q_DECLARE_METATYPE(OptionTexts)
Q_DECLARE_METATYPE(OptionsReadBack::Stop)
Q_DECLARE_METATYPE(OptionBox)

namespace {
const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);
const QLocale arabic(QLocale::Arabic, QLocale::Egypt); // digits of its own, decimal separator U+066B
} // namespace

class TestOptionValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Decimals are read in the default locale, the user's.
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void bytesFromDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("unit");
        QTest::addColumn<Rounding>("rounding");
        QTest::addColumn<NumberReading::Outcome>("outcome");
        QTest::addColumn<int>("bytes");
        using O = NumberReading::Outcome;
        const int mb = 1048576;
        QTest::newRow("default cut-off round trip") << u"92.3999996185303"_qs << english << mb << Rounding::Truncate << O::Read << 96888422;
        // The shown throttle limit lies a hair below the stored one; the floor costs that byte.
        QTest::newRow("default throttle floors") << u"61.5999994277954"_qs << english << mb << Rounding::Floor << O::Read << 64592280;
        QTest::newRow("recharge KB/s") << u"4"_qs << english << 1024 << Rounding::Truncate << O::Read << 4096;
        QTest::newRow("fraction truncated") << u"0.0000015"_qs << english << mb << Rounding::Truncate << O::Read << 1;
        QTest::newRow("blanks around") << u" 12.5 "_qs << english << mb << Rounding::Truncate << O::Read << 13107200;
        QTest::newRow("exponent") << u"1e1"_qs << english << 1024 << Rounding::Truncate << O::Read << 10240;
        QTest::newRow("comma locale") << u"12,5"_qs << german << mb << Rounding::Truncate << O::Read << 13107200;
        QTest::newRow("ASCII digits, Arabic separator") << u"12\u066B5"_qs << arabic << mb << Rounding::Truncate << O::Read << 13107200;
        QTest::newRow("Arabic-Indic digits") << u"\u0661\u0662\u066B\u0665"_qs << arabic << mb << Rounding::Truncate << O::Read << 13107200;
        QTest::newRow("point in comma locale") << u"12.5"_qs << german << mb << Rounding::Truncate << O::NotANumber << 0;
        QTest::newRow("group separator") << u"1,000"_qs << english << 1024 << Rounding::Truncate << O::NotANumber << 0;
        QTest::newRow("empty") << QString() << english << mb << Rounding::Truncate << O::NotANumber << 0;
        QTest::newRow("letters") << u"abc"_qs << english << mb << Rounding::Truncate << O::NotANumber << 0;
        QTest::newRow("infinity") << u"inf"_qs << english << mb << Rounding::Truncate << O::NotANumber << 0;
        QTest::newRow("nan") << u"nan"_qs << english << mb << Rounding::Truncate << O::NotANumber << 0;
        QTest::newRow("largest MB") << u"2047.999999"_qs << english << mb << Rounding::Truncate << O::Read << 2147483646;
        QTest::newRow("2048 MB") << u"2048"_qs << english << mb << Rounding::Truncate << O::OutOfRange << 0;
        QTest::newRow("2048 MB floored") << u"2048"_qs << english << mb << Rounding::Floor << O::OutOfRange << 0;
        QTest::newRow("4096 MB would wrap to 0") << u"4096"_qs << english << mb << Rounding::Truncate << O::OutOfRange << 0;
        QTest::newRow("2097152 KB/s") << u"2097152"_qs << english << 1024 << Rounding::Truncate << O::OutOfRange << 0;
        QTest::newRow("largest KB/s") << u"2097151.999"_qs << english << 1024 << Rounding::Truncate << O::Read << 2147483646;
        QTest::newRow("negative") << u"-1"_qs << english << mb << Rounding::Truncate << O::OutOfRange << 0;
        QTest::newRow("small negative") << u"-0.0000001"_qs << english << mb << Rounding::Floor << O::OutOfRange << 0;
    }
    void bytesFromDecimal()
    {
        QFETCH(QString, text);
        QFETCH(QLocale, locale);
        QFETCH(int, unit);
        QFETCH(Rounding, rounding);
        QFETCH(NumberReading::Outcome, outcome);
        QFETCH(int, bytes);
        QLocale::setDefault(locale);
        const NumberReading reading = ::bytesFromDecimal(text, unit, rounding);
        QCOMPARE(reading.outcome, outcome);
        QCOMPARE(reading.value, bytes);
    }

    void outOfRangeSaysWhatIsAllowed()
    {
        QCOMPARE(::bytesFromDecimal(u"2048"_qs, 1048576, Rounding::Truncate).allowed,
                 u"0 or more and less than 2048"_qs);
        QLocale::setDefault(german);
        QCOMPARE(::bytesFromDecimal(u"-1"_qs, 1024, Rounding::Truncate).allowed,
                 u"0 or more and less than 2097152"_qs);
        QCOMPARE(wholeNumberTimes(u"2147484"_qs, 1000, INT32_MIN, INT32_MAX).allowed, u"from -2147483 to 2147483"_qs);
        QCOMPARE(wholeNumberTimes(u"999"_qs, 1, 1, 255).allowed, u"from 1 to 255"_qs);
        QCOMPARE(wholeNumberTimes(u"x"_qs, 1, 1, 255).allowed, u"a whole number"_qs);
        QCOMPARE(::bytesFromDecimal(u"x"_qs, 1024, Rounding::Truncate).allowed, u"a number"_qs);
    }

    // Under a locale with digits of its own, what the program writes and what the user types
    // both read back: "٦٠" seconds of history are 60, not 0.
    void localeDigits()
    {
        QLocale::setDefault(arabic);
        QCOMPARE(parseWholeNumber(u"\u0666\u0660"), 60);
        QCOMPARE(parseWholeNumber(u"60"), 60);
        const QString cutOff = ProfileValue::formatFloat(96888422 / 1048576.0);
        QCOMPARE(cutOff, u"92\u066B3999996185303"_qs);
        QCOMPARE(::bytesFromDecimal(cutOff, 1048576, Rounding::Truncate).value, 96888422);
    }

    void wholeNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("factor");
        QTest::addColumn<NumberReading::Outcome>("outcome");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("lowest"); // as typed
        QTest::addColumn<int>("highest");
        using O = NumberReading::Outcome;
        QTest::newRow("timeout seconds") << u"10"_qs << 1000 << O::Read << 10000 << INT32_MIN << INT32_MAX;
        QTest::newRow("timeout 2.5 is no whole number") << u"2.5"_qs << 1000 << O::NotANumber << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("leading zeros and blanks") << u"  064"_qs << 1 << O::Read << 64 << INT32_MIN << INT32_MAX;
        QTest::newRow("plus sign") << u"+32"_qs << 1 << O::Read << 32 << INT32_MIN << INT32_MAX;
        QTest::newRow("minus sign") << u"-5"_qs << 1 << O::Read << -5 << INT32_MIN << INT32_MAX;
        QTest::newRow("trailing blank") << u"64 "_qs << 1 << O::NotANumber << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("sign only") << u"-"_qs << 1 << O::NotANumber << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("hexadecimal") << u"0x10"_qs << 1 << O::NotANumber << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("empty") << QString() << 1 << O::NotANumber << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("beyond 32 bits") << u"2147483648"_qs << 1 << O::NotANumber << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("largest timeout") << u"2147483"_qs << 1000 << O::Read << 2147483000 << INT32_MIN << INT32_MAX;
        QTest::newRow("timeout would wrap") << u"2147484"_qs << 1000 << O::OutOfRange << 0 << INT32_MIN << INT32_MAX;
        QTest::newRow("negative timeout would wrap") << u"-2147484"_qs << 1000 << O::OutOfRange << 0 << INT32_MIN << INT32_MAX;
        // The boxes' own bounds.
        QTest::newRow("TTL 255") << u"255"_qs << 1 << O::Read << 255 << 1 << 255;
        QTest::newRow("TTL 1") << u"1"_qs << 1 << O::Read << 1 << 1 << 255;
        QTest::newRow("TTL 0") << u"0"_qs << 1 << O::OutOfRange << 0 << 1 << 255;
        QTest::newRow("TTL 256") << u"256"_qs << 1 << O::OutOfRange << 0 << 1 << 255;
        QTest::newRow("TTL 999") << u"999"_qs << 1 << O::OutOfRange << 0 << 1 << 255;
        QTest::newRow("timeout -5") << u"-5"_qs << 1000 << O::OutOfRange << 0 << 1 << INT32_MAX;
        QTest::newRow("timeout 0") << u"0"_qs << 1000 << O::OutOfRange << 0 << 1 << INT32_MAX;
        QTest::newRow("timeout bound above 32 bits") << u"2147484"_qs << 1000 << O::OutOfRange << 0 << 1 << INT32_MAX;
    }
    void wholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, factor);
        QFETCH(NumberReading::Outcome, outcome);
        QFETCH(int, value);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        const NumberReading reading = wholeNumberTimes(text, factor, lowest, highest);
        QCOMPARE(reading.outcome, outcome);
        QCOMPARE(reading.value, value);
    }

    void timeOfDay_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<QTime>("shown");
        QTest::addColumn<QTime>("picked");
        QTest::addColumn<double>("taken");
        QTest::newRow("midnight default") << 0.0 << QTime(0, 0) << QTime(0, 0) << 0.0;
        QTest::newRow("noon keeps the day") << 37894.5 << QTime(12, 0) << QTime(18, 0) << 37894.75;
        // The bucket reads value - floor: -0.25 is 18:00 of the day before, not 06:00.
        QTest::newRow("before 1899") << -1.25 << QTime(18, 0) << QTime(12, 0) << -1.5;
        QTest::newRow("negative fraction") << -0.25 << QTime(18, 0) << QTime(6, 0) << -0.75;
        QTest::newRow("a hair below midnight") << 0.9999999999 << QTime(23, 59, 59, 999) << QTime(23, 59, 59, 999)
                                               << 86399999 / 86400000.0;
    }
    void timeOfDay()
    {
        QFETCH(double, stored);
        QFETCH(QTime, shown);
        QFETCH(QTime, picked);
        QFETCH(double, taken);
        QCOMPARE(::timeOfDay(stored), shown);
        QCOMPARE(withTimeOfDay(stored, picked), taken);
    }

    void readBackStopsAtTheFirstFailingBox_data()
    {
        QTest::addColumn<OptionTexts>("texts");
        QTest::addColumn<OptionsReadBack::Stop>("stop");
        QTest::addColumn<int>("boxesRead"); // in reading order
        QTest::addColumn<OptionBox>("box");
        QTest::addColumn<QString>("message");
        const OptionTexts valid{u"4"_qs, u"92.3999996185303"_qs, u"12.5"_qs, u"255"_qs, u"61.5999994277954"_qs,
                                u"localhost"_qs, u"10"_qs, u"64"_qs, u"32"_qs, u"60"_qs, u"75,90"_qs};
        using S = OptionsReadBack::Stop;
        using B = OptionBox;
        const auto must = [](const char *caption, const char *allowed) {
            return QStringLiteral("The value of \"%1\" must be %2.").arg(QLatin1String(caption), QLatin1String(allowed));
        };
        QTest::newRow("all read") << valid << S::None << 11 << B::None << QString();
        // Each row: the box, its text, how it stops, how many boxes were read before it.
        struct Bad
        {
            const char *name;
            QString OptionTexts::*field;
            QString text;
            S stop;
            int read;
            B box;
            QString message;
        };
        const Bad rows[] = {
            {"recharge letters", &OptionTexts::rechargeRate, u"x"_qs, S::NotANumber, 0, B::RechargeRate,
             must("FAP recharge rate in KB/s", "a number")},
            {"recharge with a comma", &OptionTexts::rechargeRate, u"4,5"_qs, S::NotANumber, 0, B::RechargeRate,
             must("FAP recharge rate in KB/s", "a number")},
            {"off-peak empty", &OptionTexts::offPeakCutOffLimit, QString(), S::NotANumber, 3, B::OffPeakCutOffLimit,
             must("Off peak cut off limit in MB", "a number")},
            {"timeout 2.5", &OptionTexts::pingTimeout, u"2.5"_qs, S::NotANumber, 6, B::PingTimeout,
             must("Timeout ( sec )", "a whole number")},
            {"timeout -5", &OptionTexts::pingTimeout, u"-5"_qs, S::OutOfRange, 6, B::PingTimeout,
             must("Timeout ( sec )", "from 1 to 2147483")},
            {"TTL 999", &OptionTexts::pingTtl, u"999"_qs, S::OutOfRange, 7, B::PingTtl,
             must("TTL ( ping packet time to live )", "from 1 to 255")},
            {"TTL letters", &OptionTexts::pingTtl, u"abc"_qs, S::NotANumber, 7, B::PingTtl,
             must("TTL ( ping packet time to live )", "a whole number")},
            {"packet size letters", &OptionTexts::pingPacketSize, u"big"_qs, S::NotANumber, 8, B::PingPacketSize,
             must("Packet size", "a whole number")},
            {"packet size 100000", &OptionTexts::pingPacketSize, u"100000"_qs, S::OutOfRange, 8, B::PingPacketSize,
             must("Packet size", "from 0 to 65507")},
            {"chart length -5", &OptionTexts::chartHistory, u"-5"_qs, S::OutOfRange, 9, B::ChartHistory,
             must("History length ( sec )", "from 1 to 86400")},
            {"chart length empty", &OptionTexts::chartHistory, QString(), S::NotANumber, 9, B::ChartHistory,
             must("History length ( sec )", "a whole number")},
            {"alert steps letters", &OptionTexts::alertSteps, u"75,abc"_qs, S::NotANumber, 10, B::AlertSteps,
             u"The value of \"At these parts of the way to the throttle limit ( % )\" must be whole percentages "
             "from 1 to 99, separated by commas (such as 75,90), or nothing."_qs},
            {"alert step 150", &OptionTexts::alertSteps, u"150"_qs, S::NotANumber, 10, B::AlertSteps,
             u"The value of \"At these parts of the way to the throttle limit ( % )\" must be whole percentages "
             "from 1 to 99, separated by commas (such as 75,90), or nothing."_qs},
            {"cut-off 2048 MB", &OptionTexts::cutOffLimit, u"2048"_qs, S::OutOfRange, 1, B::CutOffLimit,
             must("Cut off limit in MB", "0 or more and less than 2048")},
            {"negative throttle", &OptionTexts::throttleLimit, u"-3"_qs, S::OutOfRange, 4, B::ThrottleLimit,
             must("Throttle limit in MB", "0 or more and less than 2048")},
            {"recharge 2097152 KB/s", &OptionTexts::rechargeRate, u"2097152"_qs, S::OutOfRange, 0, B::RechargeRate,
             must("FAP recharge rate in KB/s", "0 or more and less than 2097152")},
            // Every box was read, the two limits do not go together.
            {"cut-off below the throttle", &OptionTexts::cutOffLimit, u"40"_qs, S::OutOfRange, 11, B::CutOffLimit,
             u"The value of \"Cut off limit in MB\" must not be below the \"Throttle limit in MB\"."_qs},
        };
        for (const Bad &row : rows) {
            OptionTexts t = valid;
            t.*row.field = row.text;
            QTest::newRow(row.name) << t << row.stop << row.read << row.box << row.message;
        }
        // The cut-off limit may equal the throttle limit.
        OptionTexts t = valid;
        t.cutOffLimit = t.throttleLimit;
        QTest::newRow("cut-off at the throttle") << t << S::None << 11 << B::None << QString();
        t = valid;
        t.usedBytes = u"x"_qs;
        t.throttleLimit = u"5000"_qs;
        QTest::newRow("letters before a large value")
            << t << S::NotANumber << 2 << B::UsedBytes << must("Cumulative download in MB", "a number");
    }
    void readBackStopsAtTheFirstFailingBox()
    {
        QFETCH(OptionTexts, texts);
        QFETCH(OptionsReadBack::Stop, stop);
        QFETCH(int, boxesRead);
        QFETCH(OptionBox, box);
        QFETCH(QString, message);
        // Settings no box holds, so each one taken shows.
        AppSettings settings;
        FapParameters &fap = settings.fap;
        fap.rechargeRate = fap.cutOffLimit = fap.offPeakCutOffLimit = fap.throttleLimit = -1;
        settings.pingHost = u"unread"_qs;
        settings.pingTimeoutMs = settings.pingTtl = settings.pingPacketSize = settings.chartHistorySeconds = -1;
        settings.alerts.stepsPercent = {-1};
        const OptionsReadBack result = readBackOptions(texts, settings);
        QCOMPARE(result.stop, stop);
        QCOMPARE(result.box, box);
        QCOMPARE(result.message, message);
        const OptionValues &v = result.values;
        const bool read[] = {v.rechargeRate.has_value(), v.cutOffLimit.has_value(), v.usedBytes.has_value(),
                             v.offPeakCutOffLimit.has_value(), v.throttleLimit.has_value(), v.pingHost.has_value(),
                             v.pingTimeoutMs.has_value(), v.pingTtl.has_value(), v.pingPacketSize.has_value(),
                             v.chartHistorySeconds.has_value(), v.alertSteps.has_value()};
        for (int i = 0; i < 11; ++i)
            QVERIFY2(read[i] == (i < boxesRead), qPrintable(QString::number(i)));
        QCOMPARE(v.bucketRead(), boxesRead > 3);
        // The boxes read are taken only when none failed; the level is the bucket's.
        const int taken = stop == OptionsReadBack::Stop::None ? boxesRead : 0;
        // Each setting with the place of its box in the reading order.
        const std::pair<int, bool> took[] = {{0, fap.rechargeRate != -1},
                                             {1, fap.cutOffLimit != -1},
                                             {3, fap.offPeakCutOffLimit != -1},
                                             {4, fap.throttleLimit != -1},
                                             {5, settings.pingHost != u"unread"_qs},
                                             {6, settings.pingTimeoutMs != -1},
                                             {7, settings.pingTtl != -1},
                                             {8, settings.pingPacketSize != -1},
                                             {9, settings.chartHistorySeconds != -1},
                                             {10, settings.alerts.stepsPercent != QList<int>{-1}}};
        for (const auto &[box, changed] : took)
            QVERIFY2(changed == (box < taken), qPrintable(QString::number(box)));
    }

    void readBackValues()
    {
        QLocale::setDefault(german);
        AppSettings settings;
        const OptionsReadBack result = readBackOptions(
            {u"4,5"_qs, u"92,3999996185303"_qs, u"0"_qs, u"255"_qs, u"61,5999994277954"_qs, u" host "_qs, u"3"_qs,
             u"128"_qs, u"1000"_qs, u"90"_qs, u" 90, 75"_qs},
            settings);
        QCOMPARE(result.stop, OptionsReadBack::Stop::None);
        const OptionValues &v = result.values;
        QCOMPARE(*v.rechargeRate, 4608);
        QCOMPARE(*v.cutOffLimit, 96888422);
        QCOMPARE(*v.usedBytes, 0);
        QCOMPARE(*v.offPeakCutOffLimit, 267386880);
        QCOMPARE(*v.throttleLimit, 64592280);
        QCOMPARE(*v.pingHost, u" host "_qs); // the text as typed
        QCOMPARE(*v.pingTimeoutMs, 3000);
        QCOMPARE(*v.pingTtl, 128);
        QCOMPARE(*v.pingPacketSize, 1000);
        // Into the settings the confirmation saves.
        QCOMPARE(settings.fap.rechargeRate, 4608);
        QCOMPARE(settings.fap.cutOffLimit, 96888422);
        QCOMPARE(settings.fap.offPeakCutOffLimit, 267386880);
        QCOMPARE(settings.fap.throttleLimit, 64592280);
        QCOMPARE(settings.pingHost, u" host "_qs);
        QCOMPARE(settings.pingTimeoutMs, 3000);
        QCOMPARE(settings.pingTtl, 128);
        QCOMPARE(settings.pingPacketSize, 1000);
        QCOMPARE(settings.chartHistorySeconds, 90);
        QCOMPARE(settings.alerts.stepsPercent, (QList<int>{75, 90}));
    }

    // Boxes show the fewest digits that read back to the same bytes, in the user's locale.
    void decimalsFromBytes_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("unit");
        QTest::addColumn<Rounding>("rounding");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        const int mb = 1048576;
        QTest::newRow("default cut-off") << 96888422 << mb << Rounding::Truncate << english << u"92.4"_qs;
        QTest::newRow("default throttle") << 64592281 << mb << Rounding::Floor << english << u"61.6"_qs;
        QTest::newRow("comma locale") << 64592281 << mb << Rounding::Floor << german << u"61,6"_qs;
        QTest::newRow("whole KB/s") << 4096 << 1024 << Rounding::Truncate << english << u"4"_qs;
        QTest::newRow("odd KB/s") << 4097 << 1024 << Rounding::Truncate << english << u"4.001"_qs;
        QTest::newRow("a hundred MB, no exponent") << 100 * mb << mb << Rounding::Truncate << english << u"100"_qs;
        QTest::newRow("empty bucket") << 0 << mb << Rounding::Truncate << english << u"0"_qs;
        QTest::newRow("one byte") << 1 << mb << Rounding::Truncate << english << u"0.000001"_qs;
        QTest::newRow("one byte, floored") << 1 << mb << Rounding::Floor << english << u"0.000001"_qs;
        QTest::newRow("largest") << 2147483647 << mb << Rounding::Truncate << english << u"2047.99999905"_qs;
    }
    void decimalsFromBytes()
    {
        QFETCH(int, bytes);
        QFETCH(int, unit);
        QFETCH(Rounding, rounding);
        QFETCH(QLocale, locale);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        QCOMPARE(decimalFromBytes(bytes, unit, rounding), text);
        QCOMPARE(::bytesFromDecimal(text, unit, rounding).value, bytes);
    }

    void ipv6Box_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("entry"); // empty: refused
        QTest::newRow("address") << u"2001:db8::7"_qs << u"2001:db8::7"_qs;
        QTest::newRow("written long, in capitals") << u"2001:0DB8:0000:0000:0000:0000:0000:0007"_qs
                                                   << u"2001:db8::7"_qs;
        QTest::newRow("network, blanks around") << u"  2001:db8:1::/64 "_qs << u"2001:db8:1::/64"_qs;
        QTest::newRow("whole address as a network") << u"2001:db8::7/128"_qs << u"2001:db8::7/128"_qs;
        QTest::newRow("everything") << u"::/0"_qs << u"::/0"_qs;
        QTest::newRow("prefix 129") << u"2001:db8::/129"_qs << QString();
        QTest::newRow("prefix with a leading zero") << u"2001:db8::/064"_qs << QString();
        QTest::newRow("empty prefix") << u"2001:db8::/"_qs << QString();
        QTest::newRow("two slashes") << u"2001:db8::/64/64"_qs << QString();
        QTest::newRow("IPv4") << u"192.168.0.1"_qs << QString();
        QTest::newRow("IPv4-mapped") << u"::ffff:192.168.0.1"_qs << u"::ffff:192.168.0.1"_qs;
        QTest::newRow("blank inside") << u"2001:db8:: 7"_qs << QString();
        QTest::newRow("zone") << u"fe80::1%eth0"_qs << QString();
        QTest::newRow("not ASCII") << u"2001:db8::\u0661"_qs << QString();
        QTest::newRow("too long") << u"2001:0db8:0000:0000:0000:0000:0000:0007:0000:0000/64"_qs << QString();
    }
    void ipv6Box()
    {
        QFETCH(QString, typed);
        QFETCH(QString, entry);
        QCOMPARE(ipv6EntryFromBox(typed).value_or(QString()), entry);
        // What the box gives, the lists read.
        if (!entry.isEmpty())
            QVERIFY(parseIpv6Entry(entry));
    }

    void addressBoxes_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("plain") << QStringList{u"192"_qs, u"168"_qs, u"0"_qs, u"7"_qs} << u"192.168.0.7"_qs
                               << QStringList{u"192"_qs, u"168"_qs, u"0"_qs, u"7"_qs};
        QTest::newRow("leading zeros and sign") << QStringList{u"010"_qs, u"+1"_qs, u" 001"_qs, u"1"_qs}
                                                << u"10.1.1.1"_qs << QStringList{u"10"_qs, u"1"_qs, u"1"_qs, u"1"_qs};
        // Each number from 0 to 255: the boxes up to the bad one are rewritten, nothing is given.
        QTest::newRow("255 in every box") << QStringList{u"255"_qs, u"255"_qs, u"255"_qs, u"255"_qs}
                                          << u"255.255.255.255"_qs
                                          << QStringList{u"255"_qs, u"255"_qs, u"255"_qs, u"255"_qs};
        QTest::newRow("999 in every box") << QStringList{u"999"_qs, u"999"_qs, u"999"_qs, u"999"_qs} << QString()
                                          << QStringList{u"999"_qs, u"999"_qs, u"999"_qs, u"999"_qs};
        QTest::newRow("256 in the last box") << QStringList{u"010"_qs, u"1"_qs, u"2"_qs, u"256"_qs} << QString()
                                             << QStringList{u"10"_qs, u"1"_qs, u"2"_qs, u"256"_qs};
        QTest::newRow("negative first box") << QStringList{u"-5"_qs, u"1"_qs, u"2"_qs, u"3"_qs} << QString()
                                            << QStringList{u"-5"_qs, u"1"_qs, u"2"_qs, u"3"_qs};
        QTest::newRow("empty third box") << QStringList{u"010"_qs, u"02"_qs, QString(), u"4"_qs} << QString()
                                         << QStringList{u"10"_qs, u"2"_qs, QString(), u"4"_qs};
        QTest::newRow("letter in first box") << QStringList{u"a"_qs, u"02"_qs, u"3"_qs, u"4"_qs} << QString()
                                             << QStringList{u"a"_qs, u"02"_qs, u"3"_qs, u"4"_qs};
    }
    void addressBoxes()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, address);
        QFETCH(QStringList, after);
        AddressBoxes boxes{typed[0], typed[1], typed[2], typed[3]};
        QCOMPARE(addressFromBoxes(boxes).value_or(QString()), address);
        QCOMPARE(QStringList(boxes.begin(), boxes.end()), after);
    }
};


QTEST_GUILESS_MAIN(TestOptionValues)
#include "tst_optionvalues.moc"
