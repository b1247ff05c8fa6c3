#include "support/controls.h"
#include "ui/programs/programswindow.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QDateTime morning(QDate(2026, 12, 10), QTime(9, 0, 0), Qt::UTC);

ProgramBytes bytes(const QString &name, uint64_t download, uint64_t upload)
{
    return {{name.toLower(), name, {}}, download, upload};
}

// Each row's cells, as the window shows them from the top.
QList<QStringList> cells(const QTreeWidget &table)
{
    QList<QStringList> rows;
    for (int row = 0; row < table.topLevelItemCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < table.columnCount(); ++column)
            texts.append(table.topLevelItem(row)->text(column));
        rows.append(texts);
    }
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(QList<QStringList>)

class ProgramsWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        // An hour ago the bucket was empty; yesterday's bytes are not today's.
        m_usage = ProgramUsage();
        m_usage.tick(morning.addDays(-1), false, {bytes(u"Backup"_s, 7000000, 100)});
        m_usage.tick(morning.addSecs(-3600), true, {});
        m_usage.tick(morning.addSecs(-1800), false, {bytes(u"Steam"_s, 3000000, 20000)});
        m_usage.tick(morning, false, {bytes(u"Firefox"_s, 750000, 50000), bytes(u"Steam"_s, 250000, 0)});
    }

    void periods_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("this minute") << 0
                                     << QList<QStringList>{{u"Firefox"_s, u"750,000"_s, u"50,000"_s, u"75.0 %"_s},
                                                           {u"Steam"_s, u"250,000"_s, u"0"_s, u"25.0 %"_s}};
        QTest::newRow("today") << 1
                               << QList<QStringList>{{u"Steam"_s, u"3,250,000"_s, u"20,000"_s, u"81.3 %"_s},
                                                     {u"Firefox"_s, u"750,000"_s, u"50,000"_s, u"18.8 %"_s}};
        QTest::newRow("since the bucket was last empty")
            << 2
            << QList<QStringList>{{u"Steam"_s, u"3,250,000"_s, u"20,000"_s, u"81.3 %"_s},
                                  {u"Firefox"_s, u"750,000"_s, u"50,000"_s, u"18.8 %"_s}};
    }
    void periods()
    {
        QFETCH(int, period);
        QFETCH(QList<QStringList>, rows);
        ProgramsWindow window;
        window.follow(&m_usage);
        findControl<QComboBox>(window, "periodBox")->setCurrentIndex(period);
        QCOMPARE(cells(*findControl<QTreeWidget>(window, "programTable")), rows);
    }

    // A click on a header sorts by that column, by number rather than by text, and the order
    // holds through the next tick.
    void sortsByAnyColumn()
    {
        ProgramsWindow window;
        window.follow(&m_usage);
        auto *table = findControl<QTreeWidget>(window, "programTable");
        findControl<QComboBox>(window, "periodBox")->setCurrentIndex(1);
        table->sortByColumn(2, Qt::AscendingOrder);
        QCOMPARE(table->topLevelItem(0)->text(0), u"Steam"_s); // 20,000 before 50,000
        table->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(table->topLevelItem(0)->text(0), u"Firefox"_s);
        m_usage.tick(morning.addSecs(1), false, {bytes(u"Apt"_s, 9, 0)});
        window.follow(&m_usage);
        QCOMPARE(table->topLevelItemCount(), 3);
        QCOMPARE(table->topLevelItem(0)->text(0), u"Apt"_s);
        QCOMPARE(table->header()->sortIndicatorSection(), 0);
    }

    // Without attribution the table is empty.
    void nothingToFollow()
    {
        ProgramsWindow window;
        window.follow(&m_usage);
        window.follow(nullptr);
        QCOMPARE(findControl<QTreeWidget>(window, "programTable")->topLevelItemCount(), 0);
    }

private:
    ProgramUsage m_usage;
};

QTEST_MAIN(ProgramsWindowTest)
#include "tst_programswindow.moc"
