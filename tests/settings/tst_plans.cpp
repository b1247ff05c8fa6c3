#include "settings/plans.h"
#include "support/filefixtures.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPlans : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("plans.ini")); }
    void writePlans(const QByteArray &bytes) { writeBytes(path(), bytes); }

private Q_SLOTS:
    void cleanup() { QFile::remove(path()); }

    void catalogue_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: no file
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QStringList>("values"); // recharge, max, throttle of the chosen row

        const QByteArray twoOfThree = "[General]\nPlansCount=3\n[Plan0]\nName=Home\nRecharge=4\nMax=92.4\nThrottle=61.6\n"
                                      "[Plan2]\nName=Pro\nRecharge=6\nMax=150\nThrottle=100\n";
        QTest::newRow("plans in order") << twoOfThree << QStringList{u"Home"_s, u"error reading file"_s, u"Pro"_s} << 2
                                        << QStringList{u"6"_s, u"150"_s, u"100"_s};
        QTest::newRow("missing section") << twoOfThree << QStringList{u"Home"_s, u"error reading file"_s, u"Pro"_s} << 1
                                         << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("missing name and values")
            << QByteArray("[General]\nPlansCount=1\n[Plan0]\nMax=5\n") << QStringList{u"error reading file"_s} << 0
            << QStringList{u"0"_s, u"5"_s, u"0"_s};
        QTest::newRow("blanks around values") << QByteArray("[general]\nplanscount=1\n[PLAN0]\nname=  Home  \n"
                                                            "recharge = \t4 \nmax=  92.4\t\nthrottle=61.6   \n")
                                              << QStringList{u"Home"_s} << 0 << QStringList{u"4"_s, u"92.4"_s, u"61.6"_s};
        QTest::newRow("sections in any order, Plan10 is the eleventh")
            << QByteArray("[General]\nPlansCount=11\n[Plan10]\nName=Last\n[Plan010]\nName=Wrong\n") << QStringList{
                   u"error reading file"_s, u"error reading file"_s, u"error reading file"_s, u"error reading file"_s,
                   u"error reading file"_s, u"error reading file"_s, u"error reading file"_s, u"error reading file"_s,
                   u"error reading file"_s, u"error reading file"_s, u"Last"_s}
            << 10 << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("hexadecimal count") << QByteArray("[General]\nPlansCount=0x1\n[Plan0]\nName=A\n") << QStringList{u"A"_s}
                                           << 0 << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("count 0") << QByteArray("[General]\nPlansCount=0\n[Plan0]\nName=A\n") << QStringList() << 0
                                 << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("negative count") << QByteArray("[General]\nPlansCount=-3\n[Plan0]\nName=A\n") << QStringList()
                                        << 0 << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("count not a number") << QByteArray("[General]\nPlansCount=three\n[Plan0]\nName=A\n")
                                            << QStringList() << 0 << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("plans beyond the count are left out")
            << QByteArray("[General]\nPlansCount=1\n[Plan0]\nName=A\n[Plan1]\nName=B\n") << QStringList{u"A"_s} << 0
            << QStringList{u"0"_s, u"0"_s, u"0"_s};
        QTest::newRow("missing file") << QByteArray() << QStringList() << 0 << QStringList{u"0"_s, u"0"_s, u"0"_s};
    }
    void catalogue()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, names);
        QFETCH(int, chosen);
        QFETCH(QStringList, values);
        if (!file.isNull())
            writePlans(file);
        QCOMPARE(readPlanNames(path()), names);
        const Plan plan = readPlan(path(), chosen);
        QCOMPARE(plan.index, chosen);
        QCOMPARE((QStringList{plan.recharge, plan.max, plan.throttle}), values);
    }

    // A huge count is bounded: the list is long but the read ends.
    void hugeCountIsBounded()
    {
        writePlans("[General]\nPlansCount=2147483647\n[Plan0]\nName=A\n");
        const QStringList names = readPlanNames(path());
        QCOMPARE(names.size(), maxPlanCount);
        QCOMPARE(names.first(), QStringLiteral("A"));
    }

    // The values are read anew at each choice.
    void valuesAreReadAtTheChoice()
    {
        writePlans("[General]\nPlansCount=1\n[Plan0]\nName=A\nRecharge=4\n");
        QCOMPARE(readPlan(path(), 0).recharge, QStringLiteral("4"));
        writePlans("[General]\nPlansCount=1\n[Plan0]\nName=A\nRecharge=8\n");
        QCOMPARE(readPlan(path(), 0).recharge, QStringLiteral("8"));
    }

    // The file's numbers are written with "."; the boxes get them in the user's format, so the
    // shipped plans read back under a comma locale. Text that is no such number stays as it is.
    void numbersComeInTheUsersFormat_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("comma locale") << "de_DE" << QByteArray("92.3999996185303") << "92,3999996185303";
        QTest::newRow("dot locale") << "en_US" << QByteArray("61.5999994277954") << "61.5999994277954";
        QTest::newRow("Arabic locale") << "ar_EG" << QByteArray("12.5") << "12\u066B5";
        QTest::newRow("user's own comma") << "de_DE" << QByteArray("92,4") << "92,4";
        QTest::newRow("no number") << "de_DE" << QByteArray("lots") << "lots";
    }
    void numbersComeInTheUsersFormat()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, stored);
        QFETCH(QString, shown);
        QLocale::setDefault(QLocale(locale));
        writePlans("[General]\nPlansCount=1\n[Plan0]\nName=A\nRecharge=4\nMax=" + stored + "\nThrottle=" + stored + "\n");
        const Plan plan = readPlan(path(), 0);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(plan.max, shown);
        QCOMPARE(plan.throttle, shown);
        QCOMPARE(plan.recharge, QStringLiteral("4"));
    }
};

QTEST_GUILESS_MAIN(TestPlans)
#include "tst_plans.moc"
