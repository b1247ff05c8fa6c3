#include "meter/alertrules.h"
#include "meter/oledate.h"
#include "settings/settingsfile.h"
#include "support/filefixtures.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
void compareSettings(const AppSettings &actual, const AppSettings &expected)
{
    QCOMPARE(actual.adapterIndex, expected.adapterIndex);
    QCOMPARE(actual.adapterName, expected.adapterName);
    QCOMPARE(actual.lanAddresses.entries(), expected.lanAddresses.entries());
    QCOMPARE(actual.ignoredAddresses.entries(), expected.ignoredAddresses.entries());
    QCOMPARE(actual.useAll192168.load(), expected.useAll192168.load());
    QCOMPARE(actual.useAdapterIpv6.load(), expected.useAdapterIpv6.load());
    QCOMPARE(actual.fap.rechargeRate, expected.fap.rechargeRate);
    QCOMPARE(actual.fap.cutOffLimit, expected.fap.cutOffLimit);
    QCOMPARE(actual.fap.throttleLimit, expected.fap.throttleLimit);
    QCOMPARE(actual.fap.offPeakEnabled, expected.fap.offPeakEnabled);
    QCOMPARE(actual.fap.offPeakCutOffLimit, expected.fap.offPeakCutOffLimit);
    QCOMPARE(actual.fap.offPeakStart, expected.fap.offPeakStart);
    QCOMPARE(actual.fap.offPeakEnd, expected.fap.offPeakEnd);
    QCOMPARE(actual.pingHost, expected.pingHost);
    QCOMPARE(actual.pingTimeoutMs, expected.pingTimeoutMs);
    QCOMPARE(actual.pingTtl, expected.pingTtl);
    QCOMPARE(actual.pingPacketSize, expected.pingPacketSize);
    QCOMPARE(actual.autoStart, expected.autoStart);
    QCOMPARE(actual.alwaysOnTop, expected.alwaysOnTop);
    QCOMPARE(actual.startMinimized, expected.startMinimized);
    QCOMPARE(actual.showOptionsAtStart, expected.showOptionsAtStart);
    QCOMPARE(actual.planIndex, expected.planIndex);
    QCOMPARE(actual.chartAutoScale, expected.chartAutoScale);
    QCOMPARE(actual.chartHistorySeconds, expected.chartHistorySeconds);
    QCOMPARE(actual.windowOpacity, expected.windowOpacity);
    QCOMPARE(actual.trayStyle, expected.trayStyle);
    QCOMPARE(actual.alerts.enabled, expected.alerts.enabled);
    QCOMPARE(actual.alerts.stepsPercent, expected.alerts.stepsPercent);
    QCOMPARE(actual.alerts.warnMinutes, expected.alerts.warnMinutes);
    QCOMPARE(actual.alerts.markMetered, expected.alerts.markMetered);
    QCOMPARE(actual.alerts.meteredPercent, expected.alerts.meteredPercent);
    QCOMPARE(actual.alerts.command, expected.alerts.command);
    for (const AlertKindCommand &row : alertKindCommands)
        QCOMPARE(actual.alerts.*row.command, expected.alerts.*row.command);
}

// Every field away from its default; the date-times are ones that 15 digits hold exactly.
void changeEveryField(AppSettings &s)
{
    s.adapterIndex = 3;
    s.adapterName = u"wg0"_s;
    s.lanAddresses.assign({u"10.0.0.2"_s, u"2001:db8:1::/64"_s, u"10.0.0.3"_s});
    s.ignoredAddresses.assign({u"1.2.3.4"_s, u"2001:db8:99::7"_s});
    s.useAll192168 = false;
    s.useAdapterIpv6 = false;
    s.fap = FapParameters{8192, 209715200, 157286400, true, 524288000, 37894.25, 37894.75};
    s.pingHost = QStringLiteral("example.org");
    s.pingTimeoutMs = 2000;
    s.pingTtl = 12;
    s.pingPacketSize = 100;
    s.autoStart = true;
    s.alwaysOnTop = true;
    s.startMinimized = true;
    s.showOptionsAtStart = false;
    s.planIndex = 4;
    s.chartAutoScale = true;
    s.chartHistorySeconds = 120;
    s.windowOpacity = 128;
    s.trayStyle = TrayStyle::Text;
    s.alerts = AlertConfig{false, {5, 50, 99}, 25, true, 60};
    s.alerts.command = u"notify \"all kinds\" --now"_s;
    for (const AlertKindCommand &row : alertKindCommands)
        s.alerts.*row.command = u"/usr/local/bin/on-%1"_s.arg(row.name);
}
} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void defaultsOnAMissingFile()
    {
        QTemporaryDir dir;
        AppSettings loaded;
        changeEveryField(loaded);
        loadSettings(IniDocument::read(settingsPath(dir.path() + u'/')), loaded);
        compareSettings(loaded, AppSettings{});
        const FapState fap = loadFapState(IniDocument::read(settingsPath(dir.path() + u'/')));
        QCOMPARE(fap.usedBytes, 0);
        QCOMPARE(fap.lastShut, noLastUse);
    }

    void roundTripOfEveryField_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("dot locale") << "C";
        QTest::newRow("comma locale") << "de_DE";
    }
    void roundTripOfEveryField()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        AppSettings saved;
        changeEveryField(saved);
        saveSettings(path, saved);
        saveFapState(path, oleDateToDateTime(46000.5), 1234567);

        AppSettings loaded;
        loadSettings(IniDocument::read(path), loaded);
        compareSettings(loaded, saved);
        const FapState fap = loadFapState(IniDocument::read(path));
        QCOMPARE(fap.usedBytes, 1234567);
        QCOMPARE(fap.lastShut, 46000.5);
    }

    // What a confirmation writes: every key in the file's own names, "plan" in lower case.
    void savedKeys()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        saveSettings(path, AppSettings{});
        QCOMPARE(QString::fromUtf8(fileBytes(path)),
                 QStringLiteral("[System]\nautoaxis=0\nhistlenght=60\nAutoStart=0\nsm=0\nOnTop=0\nplan=0\nShowOptions=1\n"
                                "use192=1\nuse6=1\nuseop=0\nopst=0\nopet=0\nfaprecharge=4096\nfapmaxonp=96888422\n"
                                "fapmaxoffp=267386880\ntsht=64592281\nadapter=-1\nadaptername=\nlanIPCount=0\nignIPCount=0\n"
                                "[Ping]\nurl=%1\ntimeout=10000\nttl=64\nsize=32\n[Alpha]\nalpha=255\n[Tray]\ntype=1\n"
                                "[Alerts]\nEnabled=1\nSteps=75,90\nWarnMinutes=10\nMarkMetered=0\nMeteredPercent=90\n")
                     .arg(AppSettings::defaultPingHost));
    }

    void edgeCases_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("adapterIndex");
        QTest::addColumn<QStringList>("lan");
        QTest::addColumn<int>("planIndex");
        QTest::addColumn<int>("usedBytes");
        QTest::addColumn<int>("trayStyle");

        const QStringList none;
        QTest::newRow("count of 3 with two entries")
            << QByteArray("[System]\nlanIPCount=3\n[LANIPS]\nIP0=10.0.0.1\nIP1=10.0.0.2\n") << -1
            << QStringList{u"10.0.0.1"_s, u"10.0.0.2"_s, u"no ip defined"_s} << 0 << 0 << 1;
        QTest::newRow("entries taken as they stand") << QByteArray("[System]\nlanIPCount=1\n[LANIPS]\nIP0=  junk ;x\n")
                                                     << -1 << QStringList{u"junk ;x"_s} << 0 << 0 << 1;
        QTest::newRow("entries beyond the count are not read")
            << QByteArray("[System]\nlanIPCount=1\n[LANIPS]\nIP0=a\nIP1=b\n") << -1 << QStringList{u"a"_s} << 0 << 0 << 1;
        QTest::newRow("negative count") << QByteArray("[System]\nlanIPCount=-5\n[LANIPS]\nIP0=a\n") << -1 << none << 0 << 0 << 1;
        QTest::newRow("count that is not a number") << QByteArray("[System]\nlanIPCount=many\n") << -1 << none << 0 << 0 << 1;
        QTest::newRow("adapter 0x2") << QByteArray("[System]\nadapter=0x2\n") << 2 << none << 0 << 0 << 1;
        QTest::newRow("adapter not a number") << QByteArray("[System]\nadapter=two\n") << -1 << none << 0 << 0 << 1;
        QTest::newRow("fapbytes -1 reads 0") << QByteArray("[System]\nfapbytes=-1\n") << -1 << none << 0 << 0 << 1;
        QTest::newRow("negative fapbytes reads 0") << QByteArray("[System]\nfapbytes=-70000\n") << -1 << none << 0 << 0 << 1;
        QTest::newRow("fapbytes") << QByteArray("[System]\nfapbytes=50000000\n") << -1 << none << 0 << 50000000 << 1;
        QTest::newRow("Plan read in any case") << QByteArray("[system]\nPLAN=2\n") << -1 << none << 2 << 0 << 1;
        QTest::newRow("tray type 0 is text") << QByteArray("[Tray]\ntype=0\n") << -1 << none << 0 << 0 << 0;
        QTest::newRow("any other tray type is graphic") << QByteArray("[Tray]\ntype=7\n") << -1 << none << 0 << 0 << 1;
        QTest::newRow("binary file") << binary("\x7f" "ELF\x02\x01\x01\x00\x00\x00[System\x00\nadapter\x00=1") << -1
                                     << none << 0 << 0 << 1;
        // A file of an older version, without the IPv6 rule's key, and IPv6 entries as text.
        QTest::newRow("IPv6 entries")
            << QByteArray("[System]\nlanIPCount=2\n[LANIPS]\nIP0=2001:db8:1::/64\nIP1=192.168.1.2\n") << -1
            << QStringList{u"2001:db8:1::/64"_s, u"192.168.1.2"_s} << 0 << 0 << 1;
        QTest::newRow("truncated file") << QByteArray("[System]\nlanIPCount=2\nadapter=1\n[LANIPS]\nIP0=10.0.0.1\nIP1=10.0")
                                        << 1 << QStringList{u"10.0.0.1"_s, u"10.0"_s} << 0 << 0 << 1;
    }
    void edgeCases()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, adapterIndex);
        QFETCH(QStringList, lan);
        QFETCH(int, planIndex);
        QFETCH(int, usedBytes);
        QFETCH(int, trayStyle);
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        writeBytes(path, file);
        AppSettings loaded;
        const IniDocument ini = IniDocument::read(path);
        loadSettings(ini, loaded);
        QCOMPARE(loaded.adapterIndex, adapterIndex);
        QCOMPARE(loaded.lanAddresses.entries(), lan);
        QCOMPARE(loaded.planIndex, planIndex);
        QCOMPARE(int(loaded.trayStyle), trayStyle);
        QCOMPARE(loadFapState(ini).usedBytes, usedBytes);
    }

    // The IPv6 rule: on in a file written before it existed.
    void adapterIpv6Rule_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("on");
        QTest::newRow("older file") << QByteArray("[System]\nuse192=0\nlanIPCount=0\n") << true;
        QTest::newRow("off") << QByteArray("[System]\nuse6=0\n") << false;
        QTest::newRow("on") << QByteArray("[System]\nuse6=1\n") << true;
    }
    void adapterIpv6Rule()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, on);
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        writeBytes(path, file);
        AppSettings loaded;
        loadSettings(IniDocument::read(path), loaded);
        QCOMPARE(loaded.useAdapterIpv6.load(), on);
    }

    // A value the alerts cannot use reads as the default.
    void alertValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<int>("warnMinutes");
        const QList<int> defaultSteps{75, 90};
        QTest::newRow("missing section") << QByteArray("[System]\n") << true << defaultSteps << 10;
        QTest::newRow("all set") << QByteArray("[alerts]\nenabled=0\nsteps=50\nwarnminutes=0\n") << false
                                 << QList<int>{50} << 0;
        QTest::newRow("steps sorted, blanks and repeats dropped")
            << QByteArray("[Alerts]\nSteps= 80 ,20,80\n") << true << QList<int>{20, 80} << 10;
        QTest::newRow("empty steps are none") << QByteArray("[Alerts]\nSteps=\n") << true << QList<int>{} << 10;
        QTest::newRow("a step that is no number") << QByteArray("[Alerts]\nSteps=75,abc\n") << true << defaultSteps << 10;
        QTest::newRow("step 0") << QByteArray("[Alerts]\nSteps=0,50\n") << true << defaultSteps << 10;
        QTest::newRow("step 100") << QByteArray("[Alerts]\nSteps=100\n") << true << defaultSteps << 10;
        QTest::newRow("an empty step") << QByteArray("[Alerts]\nSteps=75,,90\n") << true << defaultSteps << 10;
        QTest::newRow("a fraction") << QByteArray("[Alerts]\nSteps=75.5\n") << true << defaultSteps << 10;
        QTest::newRow("negative minutes") << QByteArray("[Alerts]\nWarnMinutes=-1\n") << true << defaultSteps << 10;
        QTest::newRow("more than a day") << QByteArray("[Alerts]\nWarnMinutes=1441\n") << true << defaultSteps << 10;
        QTest::newRow("a whole day") << QByteArray("[Alerts]\nWarnMinutes=1440\n") << true << defaultSteps << 1440;
        QTest::newRow("minutes no number") << QByteArray("[Alerts]\nWarnMinutes=ten\n") << true << defaultSteps << 10;
        QTest::newRow("enabled no number") << QByteArray("[Alerts]\nEnabled=maybe\n") << true << defaultSteps << 10;
    }
    void alertValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, enabled);
        QFETCH(QList<int>, steps);
        QFETCH(int, warnMinutes);
        AppSettings loaded;
        loaded.alerts = AlertConfig{!enabled, {1}, 99};
        loadSettings(IniDocument::fromBytes(file), loaded);
        QCOMPARE(loaded.alerts.enabled, enabled);
        QCOMPARE(loaded.alerts.stepsPercent, steps);
        QCOMPARE(loaded.alerts.warnMinutes, warnMinutes);
    }

    void meteredValues_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("mark");
        QTest::addColumn<int>("percent");
        QTest::newRow("missing: off at 90 %") << QByteArray("[Alerts]\n") << false << 90;
        QTest::newRow("set") << QByteArray("[alerts]\nmarkmetered=1\nmeteredpercent=75\n") << true << 75;
        QTest::newRow("the lowest step") << QByteArray("[Alerts]\nMeteredPercent=10\n") << false << 10;
        QTest::newRow("below the lowest step") << QByteArray("[Alerts]\nMeteredPercent=9\n") << false << 90;
        QTest::newRow("the throttle limit") << QByteArray("[Alerts]\nMeteredPercent=100\n") << false << 100;
        QTest::newRow("beyond the throttle limit") << QByteArray("[Alerts]\nMeteredPercent=101\n") << false << 90;
    }
    void meteredValues()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, mark);
        QFETCH(int, percent);
        AppSettings loaded;
        loadSettings(IniDocument::fromBytes(file), loaded);
        QCOMPARE(loaded.alerts.markMetered, mark);
        QCOMPARE(loaded.alerts.meteredPercent, percent);
    }

    // Only the commands in use are written; one cleared is emptied, not left to run again.
    void alertCommandKeys()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        AppSettings settings;
        settings.alerts.command = u"mail-me \"over 75 %\""_s;
        settings.alerts.cutOffCommand = u"pause-downloads"_s;
        saveSettings(path, settings);
        const QByteArray alerts = "[Alerts]\nEnabled=1\nSteps=75,90\nWarnMinutes=10\nMarkMetered=0\nMeteredPercent=90\n";
        QCOMPARE(fileBytes(path).mid(fileBytes(path).indexOf("[Alerts]")),
                 alerts + "Command=mail-me \"over 75 %\"\nCutOffCommand=pause-downloads\n");

        settings.alerts.command.clear();
        saveSettings(path, settings);
        QCOMPARE(fileBytes(path).mid(fileBytes(path).indexOf("[Alerts]")),
                 alerts + "Command=\nCutOffCommand=pause-downloads\n");
        AppSettings loaded;
        loadSettings(IniDocument::read(path), loaded);
        QCOMPARE(loaded.alerts.command, QString());
        QCOMPARE(loaded.alerts.cutOffCommand, u"pause-downloads"_s);
    }

    // A damaged count is bounded, so the load reads at most that many keys.
    void hugeCountIsBounded()
    {
        AppSettings loaded;
        loadSettings(IniDocument::fromBytes("[System]\nlanIPCount=2147483647\nignIPCount=0x7fffffff\n"), loaded);
        QCOMPARE(loaded.lanAddresses.entries().size(), maxListCount);
        QCOMPARE(loaded.ignoredAddresses.entries().size(), maxListCount);
        QCOMPARE(loaded.lanAddresses.entries().last(), QStringLiteral("no ip defined"));
    }

    // A shortened list leaves the old keys in the file; the count keeps them from being read.
    void shortenedListKeepsOldKeys()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        AppSettings settings;
        settings.lanAddresses.assign({u"10.0.0.1"_s, u"10.0.0.2"_s, u"10.0.0.3"_s, u"10.0.0.4"_s, u"10.0.0.5"_s});
        saveSettings(path, settings);
        settings.lanAddresses.assign({u"10.0.0.1"_s, u"10.0.0.9"_s, u"10.0.0.3"_s});
        saveSettings(path, settings);

        const IniDocument ini = IniDocument::read(path);
        QCOMPARE(ini.string(u"LANIPS", u"IP1", {}), QStringLiteral("10.0.0.9"));
        QCOMPARE(ini.string(u"LANIPS", u"IP3", {}), QStringLiteral("10.0.0.4"));
        QCOMPARE(ini.string(u"LANIPS", u"IP4", {}), QStringLiteral("10.0.0.5"));
        AppSettings loaded;
        loadSettings(ini, loaded);
        QCOMPARE(loaded.lanAddresses.entries(), settings.lanAddresses.entries());
    }

    // A save rewrites its keys and keeps what the user put into the file.
    void saveKeepsTheRestOfTheFile()
    {
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        writeBytes(path, "; hand-written\n[System]\nPlan=2\nmine=yes\n\n[Extra]\nx=1\n");
        AppSettings settings;
        settings.planIndex = 1;
        saveSettings(path, settings);
        saveFapState(path, oleDateToDateTime(46000.5), 99);
        const QByteArray after = fileBytes(path);
        QVERIFY(after.startsWith("; hand-written\n[System]\nPlan=1\nmine=yes\n"));
        QVERIFY(after.contains("\n\n[Extra]\nx=1\n"));
        QVERIFY(after.contains("fapbytes=99\n"));
        QCOMPARE(after.count("lastshut="), 1);
    }

    // A value the program cannot show or keep whole comes back from a save byte for byte, as long
    // as nobody changed it; one that was changed is written as it now is.
    void unchangedValuesKeepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("url"); // the bytes after "url="
        QTest::addColumn<bool>("changed");
        QTest::newRow("5 MB") << QByteArray(5 << 20, 'h') << false;
        QTest::newRow("exactly the longest value read") << QByteArray(IniDocument::maxValueLength, 'h') << false;
        QTest::newRow("one longer") << QByteArray(IniDocument::maxValueLength + 1, 'h') << false;
        QTest::newRow("invalid UTF-8") << binary("host\xff\xfe.example") << false;
        QTest::newRow("blanks around it") << QByteArray("  host.example  ") << false;
        QTest::newRow("invalid UTF-8, changed") << binary("host\xff\xfe.example") << true;
    }
    void unchangedValuesKeepTheirBytes()
    {
        QFETCH(QByteArray, url);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString path = settingsPath(dir.path() + u'/');
        writeBytes(path, "[Ping]\nurl=" + url + "\n");
        AppSettings settings;
        loadSettings(IniDocument::read(path), settings);
        if (changed)
            settings.pingHost = QStringLiteral("other.example");
        saveSettings(path, settings);
        const QByteArray saved = fileBytes(path);
        const QByteArray line = saved.mid(saved.indexOf("url=") + 4).split('\n').first();
        QCOMPARE(line, changed ? QByteArray("other.example") : url);
    }

    void oleDates_data()
    {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::addColumn<double>("oleDate");
        QTest::newRow("the epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
        QTest::newRow("a morning") << QDateTime(QDate(2003, 10, 1), QTime(2, 0)) << 37895.0 + 2.0 / 24;
        QTest::newRow("an evening") << QDateTime(QDate(2026, 12, 10), QTime(18, 0)) << 46366.75;
        QTest::newRow("the day before the epoch") << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << -0.75;
    }
    void oleDates()
    {
        QFETCH(QDateTime, dateTime);
        QFETCH(double, oleDate);
        QCOMPARE(::oleDate(dateTime), oleDate);
        QCOMPARE(oleDateToDateTime(oleDate), dateTime);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
