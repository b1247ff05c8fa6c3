#include "programs/programusage.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime start(QDate(2026, 12, 10), QTime(23, 58, 0), Qt::UTC);

ProgramBytes bytes(const QString &id, uint64_t download, uint64_t upload = 0)
{
    return {{id, id.toUpper(), {}}, download, upload};
}

// "id download/upload" of each row, the most downloaded first.
QStringList described(const QList<ProgramBytes> &rows)
{
    QStringList texts;
    for (const ProgramBytes &row : rows)
        texts.append(u"%1 %2/%3"_s.arg(row.program.id).arg(row.download).arg(row.upload));
    return texts;
}

struct GivenTick
{
    int second; // after `start`
    bool bucketEmpty;
    QList<ProgramBytes> taken;
};

} // namespace

Q_DECLARE_METATYPE(QList<GivenTick>)
Q_DECLARE_METATYPE(ProgramPeriod)
Q_DECLARE_METATYPE(QList<ProgramBytes>)

class ProgramUsageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void periods_data()
    {
        QTest::addColumn<QList<GivenTick>>("ticks");
        QTest::addColumn<ProgramPeriod>("period");
        QTest::addColumn<QStringList>("rows");
        const QList<GivenTick> twoPrograms{{0, false, {bytes(u"curl"_s, 500, 10)}},
                                           {1, false, {bytes(u"steam"_s, 900), bytes(u"curl"_s, 100)}},
                                           {2, false, {}}};
        QTest::newRow("last minute, the most first") << twoPrograms << ProgramPeriod::LastMinute
                                                     << QStringList{u"steam 900/0"_s, u"curl 600/10"_s};
        QTest::newRow("today") << twoPrograms << ProgramPeriod::Today << QStringList{u"steam 900/0"_s, u"curl 600/10"_s};
        QList<GivenTick> minuteLater = twoPrograms;
        minuteLater.append({60, false, {bytes(u"apt"_s, 5)}});
        QTest::newRow("a second leaves the minute after 60") << minuteLater << ProgramPeriod::LastMinute
                                                             << QStringList{u"steam 900/0"_s, u"curl 100/0"_s, u"apt 5/0"_s};
        QTest::newRow("the hour keeps it") << minuteLater << ProgramPeriod::LastHour
                                           << QStringList{u"steam 900/0"_s, u"curl 600/10"_s, u"apt 5/0"_s};
        QList<GivenTick> nextDay = twoPrograms;
        nextDay.append({120, false, {bytes(u"apt"_s, 5)}}); // 00:00 of the next day
        QTest::newRow("today begins at midnight") << nextDay << ProgramPeriod::Today << QStringList{u"apt 5/0"_s};
        QList<GivenTick> hourLater = twoPrograms;
        hourLater.append({3600, false, {bytes(u"apt"_s, 5)}});
        QTest::newRow("a minute leaves the hour after 60") << hourLater << ProgramPeriod::LastHour
                                                           << QStringList{u"apt 5/0"_s};
        QList<GivenTick> emptied = twoPrograms;
        emptied.append({3, true, {bytes(u"apt"_s, 5)}});
        emptied.append({4, false, {bytes(u"steam"_s, 7)}});
        QTest::newRow("since empty: from the tick it was empty") << emptied << ProgramPeriod::SinceEmpty
                                                                << QStringList{u"steam 7/0"_s, u"apt 5/0"_s};
        QTest::newRow("not emptied: since the start") << twoPrograms << ProgramPeriod::SinceEmpty
                                                      << QStringList{u"steam 900/0"_s, u"curl 600/10"_s};
    }
    void periods()
    {
        QFETCH(QList<GivenTick>, ticks);
        QFETCH(ProgramPeriod, period);
        QFETCH(QStringList, rows);
        ProgramUsage usage;
        for (const GivenTick &tick : ticks)
            usage.tick(start.addSecs(tick.second), tick.bucketEmpty, tick.taken);
        QCOMPARE(described(usage.rows(period)), rows);
    }

    void shares_data()
    {
        QTest::addColumn<QList<ProgramBytes>>("rows");
        QTest::addColumn<QList<double>>("shares");
        QTest::newRow("none") << QList<ProgramBytes>{} << QList<double>{};
        QTest::newRow("three") << QList<ProgramBytes>{bytes(u"a"_s, 600), bytes(u"b"_s, 300, 50), bytes(u"c"_s, 100)}
                               << QList<double>{60.0, 30.0, 10.0};
        QTest::newRow("upload only") << QList<ProgramBytes>{bytes(u"a"_s, 0, 10)} << QList<double>{0.0};
    }
    void shares()
    {
        QFETCH(QList<ProgramBytes>, rows);
        QFETCH(QList<double>, shares);
        QCOMPARE(downloadShares(rows), shares);
    }

    // The top program is a program: what was not attributed is passed over.
    void topProgram()
    {
        ProgramUsage usage;
        QCOMPARE(usage.top(ProgramPeriod::LastMinute), std::nullopt);
        ProgramBytes unattributed{ProgramAttribution::notAttributed(), 5000, 0};
        usage.tick(start, false, {unattributed, bytes(u"curl"_s, 300), bytes(u"up-only"_s, 0, 9000)});
        QCOMPARE(usage.top(ProgramPeriod::LastMinute)->program.id, u"curl"_s);
        usage.tick(start.addSecs(1), false, {unattributed});
        QCOMPARE(usage.top(ProgramPeriod::LastHour)->program.name, u"CURL"_s);
        ProgramUsage onlyUnattributed;
        onlyUnattributed.tick(start, false, {unattributed});
        QCOMPARE(onlyUnattributed.top(ProgramPeriod::Today), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(ProgramUsageTest)
#include "tst_programusage.moc"
