#include "history/historyfilereader.h"
#include "history/historystore.h"
#include "history/historywriter.h"
#include "history/hostrows.h"
#include "history/minuteaccumulator.h"

#include "support/filefixtures.h"
#include "support/historyfill.h"
#include "support/powercutdisk.h"

#include <QDateTime>
#include <QDir>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

int64_t utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toSecsSinceEpoch();
}

// A period as "start=download": the start in local time with its offset, which tells the two
// 02:00 of an autumn night apart.
QString described(const UsagePeriod &period)
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(period.startUtc);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate) + u'='
           + QString::number(period.downloadBytes);
}

QStringList described(const std::vector<UsagePeriod> &periods)
{
    QStringList lines;
    for (const UsagePeriod &period : periods)
        lines << described(period);
    return lines;
}

std::vector<UsagePeriod> all(const HistoryStore &store, HistoryGranularity granularity)
{
    return store.periods(granularity, INT64_MIN, INT64_MAX);
}

QStringList hostsText(const HistoryStore &store, int64_t fromUtc, int64_t toUtc)
{
    QStringList found;
    for (const HostUsage &host : store.hosts(fromUtc, toUtc))
        found << QStringLiteral("%1=%2").arg(host.address.toString()).arg(host.downloadBytes);
    return found;
}

// A store as version 3 wrote it, with a row for each host of each period. Its periods are
// written by today's store (their table is the same), its hosts as version 3 added them up.
void writeVersion3(const QString &path, const std::vector<FinishedMinute> &minutes)
{
    {
        std::vector<FinishedMinute> periods = minutes;
        for (FinishedMinute &minute : periods)
            minute.hosts.clear();
        HistoryStore current(path);
        QVERIFY(current.write(periods));
    }
    {
        QSqlDatabase old = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"version 3"_s);
        old.setDatabaseName(path);
        QVERIFY(old.open());
        QSqlQuery query(old);
        for (const char *statement :
             {"DROP TABLE host_periods", "DROP TABLE addresses",
              "CREATE TABLE hosts(granularity INTEGER NOT NULL, start INTEGER NOT NULL, address BLOB NOT NULL,"
              " download INTEGER NOT NULL, PRIMARY KEY(granularity, start, address)) WITHOUT ROWID",
              "PRAGMA user_version = 3"})
            QVERIFY2(query.exec(QString::fromLatin1(statement)), qPrintable(query.lastError().text()));
        QVERIFY(old.transaction());
        QVERIFY(query.prepare(u"INSERT INTO hosts VALUES(?, ?, ?, ?) ON CONFLICT(granularity, start, address)"
                              " DO UPDATE SET download = download + excluded.download"_s));
        for (const FinishedMinute &minute : minutes) {
            const int64_t start = minute.period.startUtc;
            for (const auto &[granularity, periodStart] :
                 {std::pair{0, start}, std::pair{1, hourStart(start)}, std::pair{2, localDayStart(start)}}) {
                for (const HostUsage &host : minute.hosts) {
                    query.bindValue(0, granularity);
                    query.bindValue(1, qint64(periodStart));
                    query.bindValue(2, host.address.bytes());
                    query.bindValue(3, qint64(host.downloadBytes));
                    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
                }
            }
        }
        QVERIFY(old.commit());
    }
    QSqlDatabase::removeDatabase(u"version 3"_s);
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;
    QString storePath;
    int stores = 0;

private Q_SLOTS:
    void initTestCase()
    {
        // Days are local days; the table below crosses both of Berlin's changes.
        qputenv("TZ", "Europe/Berlin");
        tzset();
        QVERIFY(folder.isValid());
    }

    // A new store for every case.
    void init() { storePath = folder.filePath(QStringLiteral("store-%1.sqlite").arg(++stores)); }

    // The ticks of one second each, with the minutes they finish.
    void minutesFromTicks_data()
    {
        QTest::addColumn<QList<qint64>>("ticks");     // UTC seconds, one byte each
        QTest::addColumn<QStringList>("finished");    // "start=bytes" in UTC seconds, then the open one
        QTest::newRow("a minute") << QList<qint64>{60, 61, 119, 120} << QStringList{u"60=3"_s, u"120=1"_s};
        QTest::newRow("a gap of an hour") << QList<qint64>{60, 3700} << QStringList{u"60=1"_s, u"3660=1"_s};
        QTest::newRow("clock set back finishes the minute, which comes again")
            << QList<qint64>{120, 121, 65, 66, 125} << QStringList{u"120=2"_s, u"60=2"_s, u"120=1"_s};
        QTest::newRow("before 1970") << QList<qint64>{-1, -60, -61} << QStringList{u"-60=2"_s, u"-120=1"_s};
    }

    void minutesFromTicks()
    {
        QFETCH(QList<qint64>, ticks);
        QFETCH(QStringList, finished);
        MinuteAccumulator minutes;
        QStringList seen;
        const auto note = [&](const std::optional<FinishedMinute> &minute) {
            if (minute)
                seen << QStringLiteral("%1=%2").arg(minute->period.startUtc).arg(minute->period.downloadBytes);
        };
        for (qint64 second : ticks) {
            UsagePeriod sample;
            sample.downloadBytes = 1;
            note(minutes.add(second, sample));
        }
        note(minutes.finish());
        QCOMPARE(seen, finished);
        QVERIFY(!minutes.finish());
    }

    // A minute's level and limits are those of its last tick; its restriction the worst; its
    // hosts summed.
    void minuteKeepsLastLevelAndWorstRestriction()
    {
        MinuteAccumulator minutes;
        UsagePeriod sample;
        sample.levelBytes = 5;
        sample.worstRestriction = Restriction::CutOff;
        minutes.add(600, sample, {{HostAddress::fromIpv4(1), 10}, {HostAddress::fromIpv4(2), 20}});
        sample.levelBytes = 7;
        sample.worstRestriction = Restriction::Throttled;
        minutes.add(601, sample, {{HostAddress::fromIpv4(2), 1}});
        const FinishedMinute minute = *minutes.finish();
        QCOMPARE(minute.period.levelBytes, 7);
        QCOMPARE(minute.period.worstRestriction, Restriction::CutOff);
        QCOMPARE(minute.hosts.size(), size_t(2));
        QCOMPARE(minute.hosts[1].downloadBytes, 21);
    }

    // Minutes written one transaction each (in the order given) and what each size then holds.
    void rollups_data()
    {
        QTest::addColumn<QStringList>("minutes"); // "UTC start=bytes"
        QTest::addColumn<int>("granularity");
        QTest::addColumn<QStringList>("expected");
        const int minute = int(HistoryGranularity::Minute), hour = int(HistoryGranularity::Hour),
                  day = int(HistoryGranularity::Day);
        const QStringList summer{u"2026-07-01T10:00:00Z=100"_s, u"2026-07-01T10:01:00Z=200"_s, u"2026-07-01T11:59:00Z=50"_s};
        QTest::newRow("minutes") << summer << minute
                                 << QStringList{u"2026-07-01T12:00:00+02:00=100"_s, u"2026-07-01T12:01:00+02:00=200"_s,
                                                u"2026-07-01T13:59:00+02:00=50"_s};
        QTest::newRow("hours") << summer << hour
                               << QStringList{u"2026-07-01T12:00:00+02:00=300"_s, u"2026-07-01T13:00:00+02:00=50"_s};
        QTest::newRow("clock set back merges into the minute")
            << QStringList{u"2026-07-01T10:00:00Z=100"_s, u"2026-07-01T10:01:00Z=200"_s, u"2026-07-01T10:00:00Z=5"_s} << minute
            << QStringList{u"2026-07-01T12:00:00+02:00=105"_s, u"2026-07-01T12:01:00+02:00=200"_s};
        QTest::newRow("clock set back, hour")
            << QStringList{u"2026-07-01T10:00:00Z=100"_s, u"2026-07-01T10:01:00Z=200"_s, u"2026-07-01T10:00:00Z=5"_s} << hour
            << QStringList{u"2026-07-01T12:00:00+02:00=305"_s};
        // 29 March 2026: 02:00 CET becomes 03:00 CEST, the day has 23 hours.
        const QStringList spring{u"2026-03-28T22:59:00Z=8"_s, u"2026-03-28T23:00:00Z=1"_s, u"2026-03-29T00:59:00Z=16"_s,
                                 u"2026-03-29T01:00:00Z=32"_s, u"2026-03-29T21:59:00Z=2"_s, u"2026-03-29T22:00:00Z=4"_s};
        QTest::newRow("spring forward, days") << spring << day
                                              << QStringList{u"2026-03-28T00:00:00+01:00=8"_s, u"2026-03-29T00:00:00+01:00=51"_s,
                                                             u"2026-03-30T00:00:00+02:00=4"_s};
        QTest::newRow("spring forward, hours")
            << spring << hour
            << QStringList{u"2026-03-28T23:00:00+01:00=8"_s, u"2026-03-29T00:00:00+01:00=1"_s, u"2026-03-29T01:00:00+01:00=16"_s,
                           u"2026-03-29T03:00:00+02:00=32"_s, u"2026-03-29T23:00:00+02:00=2"_s, u"2026-03-30T00:00:00+02:00=4"_s};
        // 25 October 2026: 03:00 CEST becomes 02:00 CET, the hour from 02:00 comes twice.
        const QStringList autumn{u"2026-10-25T00:30:00Z=1"_s, u"2026-10-25T01:30:00Z=2"_s, u"2026-10-25T22:59:00Z=4"_s,
                                 u"2026-10-25T23:00:00Z=8"_s};
        QTest::newRow("fall back, hours") << autumn << hour
                                          << QStringList{u"2026-10-25T02:00:00+02:00=1"_s, u"2026-10-25T02:00:00+01:00=2"_s,
                                                         u"2026-10-25T23:00:00+01:00=4"_s, u"2026-10-26T00:00:00+01:00=8"_s};
        QTest::newRow("fall back, days")
            << autumn << day << QStringList{u"2026-10-25T00:00:00+02:00=7"_s, u"2026-10-26T00:00:00+01:00=8"_s};
    }

    void rollups()
    {
        QFETCH(QStringList, minutes);
        QFETCH(int, granularity);
        QFETCH(QStringList, expected);
        HistoryStore store(storePath);
        QVERIFY2(store.isOpen(), qPrintable(store.error()));
        for (const QString &line : minutes) {
            const QStringList parts = line.split(u'=');
            QVERIFY(store.write({sampleMinute(utc(parts[0].toLatin1().constData()), parts[1].toLongLong())}));
        }
        QCOMPARE(described(all(store, HistoryGranularity(granularity))), expected);
    }

    // A minute merged in after the clock was set back leaves its hour the level of the latest minute.
    void levelOfAPeriodIsThatOfItsLatestMinute()
    {
        HistoryStore store(storePath);
        const int64_t start = utc("2026-07-01T10:00:00Z");
        QVERIFY(store.write({sampleMinute(start + 60, 1, 2000)}));
        QVERIFY(store.write({sampleMinute(start, 1, 1000)}));
        QCOMPARE(all(store, HistoryGranularity::Hour).at(0).levelBytes, 2000);
        QCOMPARE(all(store, HistoryGranularity::Minute).at(0).levelBytes, 1000);
    }

    // A minute written `age` seconds before the newest one: is its period still kept?
    void retention_data()
    {
        QTest::addColumn<int>("granularity");
        QTest::addColumn<qint64>("age");
        QTest::addColumn<bool>("kept");
        const int minute = int(HistoryGranularity::Minute), hour = int(HistoryGranularity::Hour),
                  day = int(HistoryGranularity::Day);
        QTest::newRow("minute of 7 days ago") << minute << qint64(7 * 86400) << true;
        QTest::newRow("minute older than 7 days") << minute << qint64(7 * 86400 + 60) << false;
        QTest::newRow("hour of 8 days ago") << hour << qint64(8 * 86400) << true;
        QTest::newRow("hour of 365 days ago") << hour << qint64(365 * 86400) << true;
        QTest::newRow("hour older than a year") << hour << qint64(366 * 86400) << false;
        QTest::newRow("day of 10 years ago") << day << qint64(3653 * 86400) << true;
    }

    void retention()
    {
        QFETCH(int, granularity);
        QFETCH(qint64, age);
        QFETCH(bool, kept);
        HistoryStore store(storePath);
        const int64_t newest = utc("2026-07-01T10:00:00Z");
        QVERIFY(store.write({sampleMinute(newest - age, 7, 0, {0xC0A80002u})}));
        QVERIFY(store.write({sampleMinute(newest, 1000, 0, {0xC0A80001u})}));
        const auto periods = all(store, HistoryGranularity(granularity));
        QCOMPARE(periods.size(), kept ? size_t(2) : size_t(1));
        QCOMPARE(periods.back().downloadBytes, 1000);
        // The hosts of that old minute's day are read from the finest size that still holds it.
        const auto hosts = store.hosts(localDayStart(newest - age), newest - 2 * 86400);
        QCOMPARE(hosts.size(), size_t(1));
        QCOMPARE(hosts[0].downloadBytes, 7);
    }

    void hostsAreSummedLargestFirst()
    {
        HistoryStore store(storePath);
        const int64_t start = utc("2026-07-01T10:00:00Z");
        QVERIFY(store.write({sampleMinute(start, 300, 0, {0xC0A80001u, 0x0A000002u}),
                             sampleMinute(start + 60, 400, 0, {0x0A000002u})}));
        const auto hosts = store.hosts(start, start + 120);
        QCOMPARE(hosts.size(), size_t(2));
        QCOMPARE(hosts[0].address, HostAddress::fromIpv4(0x0A000002u));
        QCOMPARE(hosts[0].downloadBytes, 550);
        QCOMPARE(hosts[1].downloadBytes, 150);
        QCOMPARE(store.hosts(start + 60, start + 120).size(), size_t(1));
    }

    // IPv6 hosts are kept beside IPv4 ones and read back in their usual text.
    void ipv6HostsBesideIpv4Ones()
    {
        HistoryStore store(storePath);
        const int64_t start = utc("2026-07-01T10:00:00Z");
        FinishedMinute minute = sampleMinute(start, 1000, 0, {0xC0A80105u});
        minute.hosts.push_back({HostAddress{0x20010DB800010000ull, 0x10ull}, 700});
        QVERIFY(store.write({minute}));
        QStringList found;
        for (const HostUsage &host : HistoryStore(storePath, HistoryStore::Mode::Read).hosts(start, start + 60))
            found << QStringLiteral("%1=%2").arg(host.address.toString()).arg(host.downloadBytes);
        QCOMPARE(found, (QStringList{u"192.168.1.5=1000"_s, u"2001:db8:1::10=700"_s}));
    }

    // A store of the previous version, which kept a host as an IPv4 integer: a reader takes it as
    // it is, and opening it for writing converts it in place and loses no row.
    void storeOfThePreviousVersionKeepsEveryRow()
    {
        {
            QSqlDatabase old = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"previous"_s);
            old.setDatabaseName(storePath);
            QVERIFY(old.open());
            QSqlQuery query(old);
            for (const char *statement : {
                     "CREATE TABLE periods(granularity INTEGER NOT NULL, start INTEGER NOT NULL,"
                     " download INTEGER NOT NULL, upload INTEGER NOT NULL,"
                     " download_packets INTEGER NOT NULL, upload_packets INTEGER NOT NULL,"
                     " level INTEGER NOT NULL, cutoff_limit INTEGER NOT NULL, throttle_limit INTEGER NOT NULL,"
                     " level_at INTEGER NOT NULL, worst_restriction INTEGER NOT NULL, dropped_frames INTEGER NOT NULL,"
                     " PRIMARY KEY(granularity, start)) WITHOUT ROWID",
                     "CREATE TABLE hosts(granularity INTEGER NOT NULL, start INTEGER NOT NULL, address INTEGER NOT NULL,"
                     " download INTEGER NOT NULL, PRIMARY KEY(granularity, start, address)) WITHOUT ROWID",
                     "CREATE TABLE pruned(granularity INTEGER PRIMARY KEY, before INTEGER NOT NULL)",
                     "INSERT INTO periods VALUES(0, 1782900000, 3000, 300, 3, 1, 0, 96888422, 64592281, 1782900000, 0, 0)",
                     "INSERT INTO hosts VALUES(0, 1782900000, 3232235781, 2000)", // 192.168.1.5
                     "INSERT INTO hosts VALUES(0, 1782900000, 167772162, 1000)",  // 10.0.0.2
                     "INSERT INTO hosts VALUES(0, 1782900060, 167772162, 500)",
                     "INSERT INTO hosts VALUES(1, 1782900000, 167772162, 1500)",
                     "PRAGMA application_id = 1414682184", "PRAGMA user_version = 1"})
                QVERIFY2(query.exec(QString::fromLatin1(statement)), qPrintable(query.lastError().text()));
        }
        QSqlDatabase::removeDatabase(u"previous"_s);
        const auto hostsText = [](const HistoryStore &store) { return ::hostsText(store, 1782900000, 1782900120); };
        const QStringList expected{u"192.168.1.5=2000"_s, u"10.0.0.2=1500"_s};
        QCOMPARE(hostsText(HistoryStore(storePath, HistoryStore::Mode::Read)), expected);
        {
            HistoryStore writer(storePath);
            QVERIFY2(writer.isOpen(), qPrintable(writer.error()));
            QVERIFY(writer.takeMovedAsideMessage().isEmpty());
            QCOMPARE(hostsText(writer), expected);
            QVERIFY(writer.write({sampleMinute(1782900060, 100, 0, {0x0A000002u})}));
            QVERIFY2(writer.writeCorrection({1782900090, 5000, 4000}), qPrintable(writer.error()));
        }
        const HistoryStore after(storePath, HistoryStore::Mode::Read);
        QCOMPARE(hostsText(after), (QStringList{u"192.168.1.5=2000"_s, u"10.0.0.2=1600"_s}));
        QCOMPARE(after.periods(HistoryGranularity::Minute, 1782900000, 1782900120).size(), size_t(2));
    }

    // A store of version 2 had no corrections: a reader finds none, and opening it for writing
    // adds their table in place and keeps every minute.
    void storeWithoutCorrectionsGetsThem()
    {
        writeVersion3(storePath, {sampleMinute(1782900000, 3000)});
        QVERIFY(!QTest::currentTestFailed());
        {
            QSqlDatabase old = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"version 2"_s);
            old.setDatabaseName(storePath);
            QVERIFY(old.open());
            QSqlQuery query(old);
            QVERIFY(query.exec(u"DROP TABLE corrections"_s) && query.exec(u"PRAGMA user_version = 2"_s));
        }
        QSqlDatabase::removeDatabase(u"version 2"_s);
        QVERIFY(HistoryStore(storePath, HistoryStore::Mode::Read).corrections().empty());
        {
            HistoryStore writer(storePath);
            QVERIFY2(writer.isOpen(), qPrintable(writer.error()));
            QVERIFY(writer.takeMovedAsideMessage().isEmpty());
            QVERIFY2(writer.writeCorrection({1782900100, 9000, 7000}), qPrintable(writer.error()));
            QVERIFY(writer.writeCorrection({1782900050, 1, 2}));
        }
        const HistoryStore after(storePath, HistoryStore::Mode::Read);
        QCOMPARE(all(after, HistoryGranularity::Minute).size(), size_t(1));
        const auto corrections = after.corrections();
        QCOMPARE(corrections.size(), size_t(2));
        QCOMPARE(corrections[0].utcSeconds, 1782900050); // oldest first
        QCOMPARE(corrections[1].tarvoLevel, 9000);
        QCOMPARE(corrections[1].providerLevel, 7000);
    }

    // Packed host rows as the store reads them: what it wrote comes back, and bytes that are no
    // packed row give nothing (and read no byte beyond them).
    void packedHostRows_data()
    {
        QTest::addColumn<QByteArray>("packed");
        QTest::addColumn<QString>("hosts"); // "number=download ...", or "-" for no packed row
        QTest::newRow("none") << QByteArray() << u""_s;
        QTest::newRow("small") << QByteArray::fromHex("0105" "0207") << u"1=5 3=7"_s;
        QTest::newRow("a number of two bytes") << QByteArray::fromHex("8001" "ff7f") << u"128=16383"_s;
        QTest::newRow("largest download") << QByteArray::fromHex("01" "ffffffffffffffff7f") << u"1=9223372036854775807"_s;
        QTest::newRow("ends inside a number") << QByteArray::fromHex("0105" "0280") << u"-"_s;
        QTest::newRow("download missing") << QByteArray::fromHex("0105" "02") << u"-"_s;
        QTest::newRow("a number twice") << QByteArray::fromHex("0105" "0007") << u"-"_s;
        QTest::newRow("longer than 63 bits") << QByteArray::fromHex("01" "ffffffffffffffffff01") << u"-"_s;
    }

    void packedHostRows()
    {
        QFETCH(QByteArray, packed);
        QFETCH(QString, hosts);
        std::vector<NumberedHost> found{{99, 1}};
        const bool read = unpackHosts(packed, found);
        QCOMPARE(read, hosts != u"-");
        QStringList text;
        for (size_t i = 1; i < found.size(); ++i)
            text << QStringLiteral("%1=%2").arg(found[i].number).arg(found[i].downloadBytes);
        QCOMPARE(text.join(u' '), read ? hosts : QString());
        if (read) {
            found.erase(found.begin());
            QCOMPARE(packHosts(found), packed);
        }
    }

    void mergedHostsAreSummedInOrder()
    {
        std::vector<NumberedHost> hosts{{7, 1}, {2, 10}, {7, 2}, {5, 0}, {2, 20}};
        mergeHosts(hosts);
        QCOMPARE(hosts.size(), size_t(3));
        QCOMPARE(hosts[0].number, 2);
        QCOMPARE(hosts[0].downloadBytes, 30);
        QCOMPARE(hosts[1].number, 5);
        QCOMPARE(hosts[2].downloadBytes, 3);
    }

    // A store of version 3, a row for each host of each period: a reader takes it as it is, and
    // opening it for writing packs each period's hosts into one row; every span reads the same
    // before, after, and from a store written as it is now.
    void storeOfVersion3ReadsTheSame_data()
    {
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        const qint64 start = utc("2026-07-01T10:00:00Z");
        QTest::newRow("a minute") << start + 60 << start + 120;
        QTest::newRow("minutes inside an hour") << start + 600 << start + 1800;
        QTest::newRow("an hour") << start << start + 3600;
        const qint64 day = localDayStart(start);
        QTest::newRow("a local day") << day << day + 86400;
        QTest::newRow("three days") << start << start + 3 * 86400;
        QTest::newRow("everything") << qint64(INT64_MIN) << qint64(INT64_MAX);
    }

    void storeOfVersion3ReadsTheSame()
    {
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        // Three days of a minute every 7, five hosts turn about, one of them IPv6, and a minute
        // that comes round again after the clock was set back.
        const int64_t start = utc("2026-07-01T10:00:00Z");
        std::vector<FinishedMinute> minutes;
        for (int64_t minute = 0; minute < 3 * 1440; minute += 7) {
            FinishedMinute finished = sampleMinute(start + minute * 60, 1000 + minute, 0,
                                                   {0xC0A80101u + uint32_t(minute % 4), 0x0A000002u});
            if (minute % 3 == 0)
                finished.hosts.push_back({HostAddress{0x20010DB800010000ull, 0x10ull}, minute * 1000});
            minutes.push_back(finished);
        }
        minutes.push_back(sampleMinute(start + 60, 5, 0, {0x0A000002u}));
        writeVersion3(storePath, minutes);
        QVERIFY(!QTest::currentTestFailed());
        const QStringList before = hostsText(HistoryStore(storePath, HistoryStore::Mode::Read), from, to);
        QVERIFY(!before.isEmpty());
        {
            HistoryStore writer(storePath);
            QVERIFY2(writer.isOpen(), qPrintable(writer.error()));
            QVERIFY(writer.takeMovedAsideMessage().isEmpty());
            QCOMPARE(hostsText(writer, from, to), before);
        }
        QCOMPARE(hostsText(HistoryStore(storePath, HistoryStore::Mode::Read), from, to), before);
        {
            const QString current = storePath + u".current"_s;
            HistoryStore written(current);
            QVERIFY(written.write(minutes));
            QCOMPARE(hostsText(written, from, to), before);
        }
        // Nothing of the old rows is left, not even their pages.
        {
            QSqlDatabase file = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"upgraded"_s);
            file.setDatabaseName(storePath);
            QVERIFY(file.open());
            QSqlQuery query(file);
            QVERIFY(query.exec(u"SELECT count(*) FROM sqlite_master WHERE name = 'hosts'"_s) && query.next());
            QCOMPARE(query.value(0).toInt(), 0);
            QVERIFY(query.exec(u"PRAGMA freelist_count"_s) && query.next());
            QCOMPARE(query.value(0).toInt(), 0);
        }
        QSqlDatabase::removeDatabase(u"upgraded"_s);
    }

    // A file that is no usage history is moved aside with one message, and a new store starts;
    // a reader leaves it where it is.
    void damagedOrForeignFile_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("random bytes") << 0;
        QTest::newRow("another program's database") << 1;
        QTest::newRow("store cut in half") << 2;
    }

    void damagedOrForeignFile()
    {
        QFETCH(int, kind);
        if (kind == 0) {
            writeBytes(storePath, QByteArray(8192, 'x'));
        } else if (kind == 1) {
            {
                QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
                other.setDatabaseName(storePath);
                QVERIFY(other.open());
                QVERIFY(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE notes(text)")));
                other.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        } else {
            QVERIFY(fillHistory(storePath, utc("2026-07-01T00:00:00Z"), 2));
            QFile file(storePath);
            QVERIFY(file.resize(file.size() / 2));
        }
        const QByteArray before = fileBytes(storePath);
        {
            const HistoryStore reader(storePath, HistoryStore::Mode::Read);
            QVERIFY(!reader.isOpen());
            QVERIFY(!reader.error().isEmpty());
        }
        QCOMPARE(fileBytes(storePath), before);

        HistoryStore store(storePath);
        QVERIFY2(store.isOpen(), qPrintable(store.error()));
        QVERIFY(store.takeMovedAsideMessage().contains(QStringLiteral(".damaged-")));
        const QStringList aside = QDir(folder.path()).entryList({QFileInfo(storePath).fileName() + QStringLiteral(".damaged-*")});
        QVERIFY(!aside.filter(QRegularExpression(QStringLiteral("damaged-\\d{8}T\\d{6}Z$"))).isEmpty());
        QCOMPARE(fileBytes(folder.filePath(aside.filter(QRegularExpression(QStringLiteral("Z$"))).at(0))), before);
        QVERIFY(store.write({sampleMinute(600, 5)}));
        QCOMPARE(all(store, HistoryGranularity::Minute).size(), size_t(1));

        // The new store opens again without a word.
        HistoryStore again(storePath);
        QVERIFY(again.isOpen());
        QVERIFY(again.takeMovedAsideMessage().isEmpty());
    }

    // A page spoilt inside the file: a reader opens it without reading every page (the window and
    // tarvo-cli stay quick on a large file); the writer checks the whole file and moves it aside.
    void damagedPageIsFoundByTheWriter()
    {
        QVERIFY(fillHistory(storePath, utc("2026-07-01T00:00:00Z"), 2));
        QByteArray bytes = fileBytes(storePath);
        const qsizetype page = 4096;
        QVERIFY(bytes.size() > 8 * page);
        const qsizetype middle = bytes.size() / page / 2 * page;
        bytes.replace(middle, page, QByteArray(page, '\xff'));
        writeBytes(storePath, bytes);

        QVERIFY(HistoryStore(storePath, HistoryStore::Mode::Read).isOpen());
        QCOMPARE(fileBytes(storePath), bytes);
        HistoryStore store(storePath);
        QVERIFY2(store.isOpen(), qPrintable(store.error()));
        QVERIFY(store.takeMovedAsideMessage().contains(QStringLiteral(".damaged-")));
        QVERIFY(all(store, HistoryGranularity::Minute).empty());
    }

    // A minute's write that returned survives a power cut right after it, the store still open.
    void writtenMinuteSurvivesAPowerCut()
    {
        if (geteuid() != 0)
            QSKIP("needs root: it mounts a file system of its own from a loop device");
        PowerCutDisk disk;
        QVERIFY2(disk.ok, qPrintable(disk.error));
        const QString path = disk.filePath(QStringLiteral("tarvo-history.sqlite"));
        HistoryStore store(path);
        QVERIFY(store.write({sampleMinute(600, 5)}));
        ::sync();
        QVERIFY(store.write({sampleMinute(660, 7)}));
        QVERIFY2(disk.cut(), qPrintable(disk.error));
        const HistoryStore after(path);
        QVERIFY2(after.isOpen(), qPrintable(after.error()));
        QCOMPARE(all(after, HistoryGranularity::Minute).size(), size_t(2));
    }

    // The windows' reader sees each minute the writer adds to the file it keeps open, and the new
    // file after a damaged one was moved aside; no file reads as an empty history.
    void fileReaderFollowsTheWritersFile()
    {
        const HistoryFileReader reader(storePath);
        const auto minutes = [&reader] { return reader.periods(HistoryGranularity::Minute, INT64_MIN, INT64_MAX); };
        QVERIFY(minutes().empty());
        {
            HistoryStore store(storePath);
            QVERIFY(store.write({sampleMinute(600, 5)}));
            QCOMPARE(minutes().size(), size_t(1));
            QVERIFY(store.write({sampleMinute(660, 7)}));
            QCOMPARE(minutes().size(), size_t(2));
            QCOMPARE(reader.hosts(INT64_MIN, INT64_MAX).size(), size_t(0));
        }
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::rename(storePath + QLatin1String(suffix), storePath + QStringLiteral(".damaged-now") + QLatin1String(suffix));
        HistoryStore renewed(storePath);
        QVERIFY(renewed.write({sampleMinute(6000, 9, 0, {0xC0A80101u})}));
        QCOMPARE(minutes().size(), size_t(1));
        QCOMPARE(minutes()[0].startUtc, 6000);
        QCOMPARE(reader.hosts(INT64_MIN, INT64_MAX).size(), size_t(1));
    }

    // A store that cannot be opened keeps a day of minutes at most and says so once.
    void unwritableStoreKeepsADayOfMinutes()
    {
        HistoryWriter writer(folder.filePath(QStringLiteral("missing-folder/history.sqlite")));
        QSignalSpy messages(&writer, &HistoryWriter::message);
        for (int64_t i = 0; i < int64_t(HistoryWriter::maxKeptMinutes) + 10; ++i)
            writer.write(sampleMinute(i * 60, 1));
        QCOMPARE(writer.keptMinutes(), HistoryWriter::maxKeptMinutes);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0][0].toString().startsWith(QStringLiteral("Could not write the usage history")));
    }

    // A full disk: the minutes wait in memory, the failure is said once, and once space is back
    // every one of them is written.
    void diskFullKeepsMinutesUntilThereIsRoom()
    {
        if (geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        const QString mountPoint = folder.filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(mountPoint));
        if (mount("tarvo-test", mountPoint.toLocal8Bit().constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("cannot mount a tmpfs here");
        const auto unmount = qScopeGuard([&] { umount2(mountPoint.toLocal8Bit().constData(), MNT_DETACH); });

        HistoryWriter writer(mountPoint + QStringLiteral("/tarvo-history.sqlite"));
        QSignalSpy messages(&writer, &HistoryWriter::message);
        writer.open();
        const int64_t start = utc("2026-07-01T00:00:00Z");
        writer.write(sampleMinute(start, 1, 0, {0xC0A80001u}));
        QCOMPARE(writer.keptMinutes(), size_t(0));

        // The rest of the room taken by another file.
        const QString fillerPath = mountPoint + QStringLiteral("/filler");
        {
            QFile filler(fillerPath);
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, '\0');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        int64_t written = 1;
        for (; written < 400 && writer.keptMinutes() == 0; ++written)
            writer.write(sampleMinute(start + written * 60, 1000 + written, 0, {0xC0A80001u, 0xC0A80002u}));
        QVERIFY2(writer.keptMinutes() > 0, "the full disk never made a write fail");
        for (int i = 0; i < 5; ++i, ++written)
            writer.write(sampleMinute(start + written * 60, 1000 + written));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0][0].toString().startsWith(QStringLiteral("Could not write the usage history")));

        QVERIFY(QFile::remove(fillerPath));
        writer.write(sampleMinute(start + written * 60, 1000 + written));
        ++written;
        QCOMPARE(writer.keptMinutes(), size_t(0));
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1][0].toString().endsWith(QStringLiteral("works again")));
        writer.close();

        const HistoryStore store(mountPoint + QStringLiteral("/tarvo-history.sqlite"), HistoryStore::Mode::Read);
        const auto minutes = all(store, HistoryGranularity::Minute);
        QCOMPARE(int64_t(minutes.size()), written);
        for (int64_t i = 1; i < written; ++i)
            QCOMPARE(minutes[size_t(i)].downloadBytes, 1000 + i);
    }

    // The recorder's thread writes every minute recorded before it is destroyed.
    void recorderWritesEverythingBeforeItEnds()
    {
        {
            HistoryRecorder recorder(storePath);
            for (int64_t i = 0; i < 50; ++i)
                recorder.record(sampleMinute(i * 60, i + 1));
            recorder.recordCorrection({3000, 20, 10});
        }
        const HistoryStore store(storePath, HistoryStore::Mode::Read);
        QCOMPARE(store.corrections().size(), size_t(1));
        QCOMPARE(all(store, HistoryGranularity::Minute).size(), size_t(50));
        QCOMPARE(all(store, HistoryGranularity::Minute).back().downloadBytes, 50);
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
