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
        QCOMPARE(wholeNumberTimes(u"2147484"_qs, 1000).allowed, u"from -2147483 to 2147483"_qs);
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
        using O = NumberReading::Outcome;
        QTest::newRow("timeout seconds") << u"10"_qs << 1000 << O::Read << 10000;
        QTest::newRow("timeout 2.5 is no whole number") << u"2.5"_qs << 1000 << O::NotANumber << 0;
        QTest::newRow("leading zeros and blanks") << u"  064"_qs << 1 << O::Read << 64;
        QTest::newRow("plus sign") << u"+32"_qs << 1 << O::Read << 32;
        QTest::newRow("minus sign") << u"-5"_qs << 1 << O::Read << -5;
        QTest::newRow("trailing blank") << u"64 "_qs << 1 << O::NotANumber << 0;
        QTest::newRow("sign only") << u"-"_qs << 1 << O::NotANumber << 0;
        QTest::newRow("hexadecimal") << u"0x10"_qs << 1 << O::NotANumber << 0;
        QTest::newRow("empty") << QString() << 1 << O::NotANumber << 0;
        QTest::newRow("beyond 32 bits") << u"2147483648"_qs << 1 << O::NotANumber << 0;
        QTest::newRow("largest timeout") << u"2147483"_qs << 1000 << O::Read << 2147483000;
        QTest::newRow("timeout would wrap") << u"2147484"_qs << 1000 << O::OutOfRange << 0;
        QTest::newRow("negative timeout would wrap") << u"-2147484"_qs << 1000 << O::OutOfRange << 0;
    }
    void wholeNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, factor);
        QFETCH(NumberReading::Outcome, outcome);
        QFETCH(int, value);
        const NumberReading reading = wholeNumberTimes(text, factor);
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
        QTest::addColumn<QString>("message");
        const OptionTexts valid{u"4"_qs, u"92.3999996185303"_qs, u"12.5"_qs, u"255"_qs, u"61.5999994277954"_qs,
                                u"localhost"_qs, u"10"_qs, u"64"_qs, u"32"_qs};
        using S = OptionsReadBack::Stop;
        QTest::newRow("all read") << valid << S::None << 9 << QString();
        OptionTexts t = valid;
        t.rechargeRate = u"x"_qs;
        QTest::newRow("recharge letters") << t << S::NotANumber << 0 << QString();
        t = valid;
        t.offPeakCutOffLimit = QString();
        QTest::newRow("off-peak empty") << t << S::NotANumber << 3 << QString();
        t = valid;
        t.pingTimeout = u"2.5"_qs;
        QTest::newRow("timeout 2.5") << t << S::NotANumber << 6 << QString();
        t = valid;
        t.pingPacketSize = u"big"_qs;
        QTest::newRow("packet size letters") << t << S::NotANumber << 8 << QString();
        t = valid;
        t.cutOffLimit = u"2048"_qs;
        QTest::newRow("cut-off 2048 MB") << t << S::OutOfRange << 1
                                         << u"The value of \"Cut off limit in MB\" must be 0 or more and less than 2048."_qs;
        t = valid;
        t.throttleLimit = u"-3"_qs;
        QTest::newRow("negative throttle") << t << S::OutOfRange << 4
                                           << u"The value of \"Throttle limit in MB\" must be 0 or more and less than 2048."_qs;
        t = valid;
        t.rechargeRate = u"2097152"_qs;
        QTest::newRow("recharge 2097152 KB/s")
            << t << S::OutOfRange << 0
            << u"The value of \"FAP recharge rate in KB/s\" must be 0 or more and less than 2097152."_qs;
        t = valid;
        t.usedBytes = u"x"_qs;
        t.throttleLimit = u"5000"_qs;
        QTest::newRow("letters before a large value") << t << S::NotANumber << 2 << QString();
    }
    void readBackStopsAtTheFirstFailingBox()
    {
        QFETCH(OptionTexts, texts);
        QFETCH(OptionsReadBack::Stop, stop);
        QFETCH(int, boxesRead);
        QFETCH(QString, message);
        // Settings no box holds, so each one taken shows.
        AppSettings settings;
        FapParameters &fap = settings.fap;
        fap.rechargeRate = fap.cutOffLimit = fap.offPeakCutOffLimit = fap.throttleLimit = -1;
        settings.pingHost = u"unread"_qs;
        settings.pingTimeoutMs = settings.pingTtl = settings.pingPacketSize = -1;
        const OptionsReadBack result = readBackOptions(texts, settings);
        QCOMPARE(result.stop, stop);
        QCOMPARE(result.message, message);
        const OptionValues &v = result.values;
        const bool read[] = {v.rechargeRate.has_value(), v.cutOffLimit.has_value(), v.usedBytes.has_value(),
                             v.offPeakCutOffLimit.has_value(), v.throttleLimit.has_value(), v.pingHost.has_value(),
                             v.pingTimeoutMs.has_value(), v.pingTtl.has_value(), v.pingPacketSize.has_value()};
        for (int i = 0; i < 9; ++i)
            QVERIFY2(read[i] == (i < boxesRead), qPrintable(QString::number(i)));
        QCOMPARE(v.bucketRead(), boxesRead > 3);
        // The boxes read are taken, unless one was out of range; the level is the bucket's.
        const int taken = stop == OptionsReadBack::Stop::OutOfRange ? 0 : boxesRead;
        // Each setting with the place of its box in the reading order.
        const std::pair<int, bool> took[] = {{0, fap.rechargeRate != -1},
                                             {1, fap.cutOffLimit != -1},
                                             {3, fap.offPeakCutOffLimit != -1},
                                             {4, fap.throttleLimit != -1},
                                             {5, settings.pingHost != u"unread"_qs},
                                             {6, settings.pingTimeoutMs != -1},
                                             {7, settings.pingTtl != -1},
                                             {8, settings.pingPacketSize != -1}};
        for (const auto &[box, changed] : took)
            QVERIFY2(changed == (box < taken), qPrintable(QString::number(box)));
    }

    void readBackValues()
    {
        QLocale::setDefault(german);
        AppSettings settings;
        const OptionsReadBack result = readBackOptions(
            {u"4,5"_qs, u"92,3999996185303"_qs, u"0"_qs, u"255"_qs, u"61,5999994277954"_qs, u" host "_qs, u"3"_qs,
             u"128"_qs, u"1000"_qs},
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
        QTest::newRow("no range check") << QStringList{u"300"_qs, u"-1"_qs, u"0"_qs, u"0"_qs} << u"300.-1.0.0"_qs
                                        << QStringList{u"300"_qs, u"-1"_qs, u"0"_qs, u"0"_qs};
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
