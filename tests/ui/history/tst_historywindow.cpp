#include "meter/formats.h"
#include "ui/history/historywindow.h"
#include "ui/history/usagebars.h"

#include "support/fakehistory.h"
#include "support/historypages.h"
#include "support/renderings.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChartView>
#include <QDateEdit>
#include <QLabel>
#include <QLineSeries>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimeZone>
#include <QToolButton>

#include <numeric>

// The history window against a usage history held in memory. Runs with TZ=Europe/Berlin, where
// clocks go forward on 29 March 2026 and back on 25 October 2026.
namespace {

constexpr int64_t hour = 3600;
constexpr int64_t day = 86400;
constexpr int32_t megabyte = 1048576;
const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));

int64_t localMidnight(QDate date)
{
    return date.startOfDay().toSecsSinceEpoch();
}

UsagePeriod period(int64_t startUtc, int64_t download, int64_t upload)
{
    UsagePeriod result;
    result.startUtc = startUtc;
    result.downloadBytes = download;
    result.uploadBytes = upload;
    return result;
}

uint32_t address(int a, int b, int c, int d)
{
    return uint32_t(a) << 24 | uint32_t(b) << 16 | uint32_t(c) << 8 | uint32_t(d);
}

// What a bar set shows, back in bytes.
std::vector<int64_t> bytesOf(const QBarSet *set, int64_t unitBytes)
{
    std::vector<int64_t> bytes;
    for (int i = 0; i < set->count(); ++i)
        bytes.push_back(std::llround(set->at(i) * double(unitBytes)));
    return bytes;
}

int64_t sum(const std::vector<int64_t> &values)
{
    return std::accumulate(values.begin(), values.end(), int64_t(0));
}

QStringList rowTexts(const QTableWidget *table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->item(row, column)->text();
    return texts;
}

} // namespace

class HistoryWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every local hour of the day is one bar, holding the hourly periods that start in it; days
    // with a clock change have 23 and 25 bars, and the repeated hour keeps both its bars.
    void dayHasOneBarPerLocalHour_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QStringList>("labels"); // bars 1 to 4
        QTest::newRow("ordinary day") << QDate(2026, 6, 15) << 24 << QStringList{u"01"_qs, u"02"_qs, u"03"_qs, u"04"_qs};
        QTest::newRow("clocks go forward") << QDate(2026, 3, 29) << 23 << QStringList{u"01"_qs, u"03"_qs, u"04"_qs, u"05"_qs};
        QTest::newRow("clocks go back")
            << QDate(2026, 10, 25) << 25 << QStringList{u"01"_qs, u"02<br>+2"_qs, u"02<br>+1"_qs, u"03"_qs};
    }
    void dayHasOneBarPerLocalHour()
    {
        QFETCH(QDate, date);
        QFETCH(int, hours);
        QFETCH(QStringList, labels);
        // Hours from the day before to the day after, each a different size.
        FakeHistory history;
        for (int64_t t = localMidnight(date) - 3 * hour; t < localMidnight(date.addDays(1)) + 3 * hour; t += hour)
            history.hours.push_back(period(t, 1000 + t / hour % 1000 * 777, t / hour % 97));
        HistoryWindow window(history, now);
        const UsagePage view(window, u"dayPage"_qs);
        view.dateEdit->setDate(date);

        std::vector<int64_t> expectedDownloads;
        std::vector<int64_t> expectedUploads;
        for (const UsagePeriod &hourly : history.hours) {
            if (hourly.startUtc >= localMidnight(date) && hourly.startUtc < localMidnight(date.addDays(1))) {
                expectedDownloads.push_back(hourly.downloadBytes);
                expectedUploads.push_back(hourly.uploadBytes);
            }
        }
        QCOMPARE(int(expectedDownloads.size()), hours);
        QCOMPARE(bytesOf(view.downloadSet, view.unitBytes()), expectedDownloads);
        QCOMPARE(bytesOf(view.uploadSet, view.unitBytes()), expectedUploads);
        QCOMPARE(view.categoryAxis->count(), hours);
        QCOMPARE(view.categoryAxis->categories().mid(1, 4), labels);
        QCOMPARE(view.categoryAxis->categories().first(), u"00"_qs);
        QCOMPARE(view.categoryAxis->categories().last(), u"23"_qs);
        QCOMPARE(view.totalsLabel->text(), u"Downloaded: %1 bytes    Uploaded: %2 bytes"_qs.arg(
                                               formatCount(double(sum(expectedDownloads))),
                                               formatCount(double(sum(expectedUploads)))));
        QCOMPARE(view.chartStack->currentWidget(), view.chartView);
    }

    // A month has a bar for each of its days; a daily period counts on its own local date whether
    // the store starts days at local or at UTC midnight; the days around the month stay out.
    void monthHasOneBarPerDay_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<bool>("utcDays");
        QTest::newRow("October, local days (a clock change)") << QDate(2026, 10, 1) << false;
        QTest::newRow("October, UTC days") << QDate(2026, 10, 1) << true;
        QTest::newRow("February, local days") << QDate(2026, 2, 1) << false;
        QTest::newRow("March, UTC days (a clock change)") << QDate(2026, 3, 1) << true;
    }
    void monthHasOneBarPerDay()
    {
        QFETCH(QDate, month);
        QFETCH(bool, utcDays);
        FakeHistory history;
        for (QDate date = month.addDays(-3); date < month.addMonths(1).addDays(3); date = date.addDays(1)) {
            const int64_t start = utcDays ? QDateTime(date, QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch()
                                          : localMidnight(date);
            history.days.push_back(period(start, date.toJulianDay() % 1000 * 1000003, date.day()));
        }
        HistoryWindow window(history, now);
        const UsagePage view(window, u"monthPage"_qs);
        view.dateEdit->setDate(month.addDays(9)); // any day picks its month

        std::vector<int64_t> expected;
        for (QDate date = month; date.month() == month.month(); date = date.addDays(1))
            expected.push_back(date.toJulianDay() % 1000 * 1000003);
        QCOMPARE(bytesOf(view.downloadSet, view.unitBytes()), expected);
        QCOMPARE(view.categoryAxis->count(), month.daysInMonth());
        QCOMPARE(view.categoryAxis->categories().first(), u"1"_qs);
        QCOMPARE(view.categoryAxis->categories().last(), QString::number(month.daysInMonth()));
    }

    // The host table lists the period's hosts, largest first, with their bytes and their share of
    // the period's download; a share never passes 100 % when the hosts hold more than the periods.
    void hostTableShowsShares_data()
    {
        QTest::addColumn<int64_t>("periodDownload");
        QTest::addColumn<QStringList>("shares");
        QTest::newRow("hosts hold all of it") << int64_t(4000000) << QStringList{u"75.0 %"_qs, u"25.0 %"_qs};
        QTest::newRow("an address outside the list took some") << int64_t(8000000)
                                                               << QStringList{u"37.5 %"_qs, u"12.5 %"_qs};
        QTest::newRow("hosts hold more than the hours") << int64_t(1000000) << QStringList{u"75.0 %"_qs, u"25.0 %"_qs};
    }
    void hostTableShowsShares()
    {
        QFETCH(int64_t, periodDownload);
        QFETCH(QStringList, shares);
        const QDate date(2026, 11, 1); // the day before is in another month
        FakeHistory history;
        history.hours.push_back(period(localMidnight(date) + 5 * hour, periodDownload, 0));
        history.hostRecords = {
            {localMidnight(date) - hour, {address(192, 168, 0, 99), 5000}}, // the day before
            {localMidnight(date) + 5 * hour, {address(192, 168, 0, 10), 1000000}},
            {localMidnight(date) + 5 * hour, {address(192, 168, 1, 200), 3000000}},
        };
        HistoryWindow window(history, now);
        const UsagePage dayPage(window, u"dayPage"_qs);
        const UsagePage monthPage(window, u"monthPage"_qs);
        dayPage.dateEdit->setDate(date);

        const QTableWidget *table = dayPage.hostTable;
        QCOMPARE(dayPage.hostStack->currentWidget(), table);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(rowTexts(table, 0), (QStringList{u"192.168.1.200"_qs, u"3,000,000"_qs, shares[0]}));
        QCOMPARE(rowTexts(table, 1), (QStringList{u"192.168.0.10"_qs, u"1,000,000"_qs, shares[1]}));

        // The month holds the same two hosts; the next month none.
        monthPage.dateEdit->setDate(date);
        QCOMPARE(monthPage.hostTable->rowCount(), 2);
        monthPage.dateEdit->setDate(QDate(2026, 12, 1));
        QCOMPARE(monthPage.hostStack->currentWidget(), monthPage.noHostsLabel);
    }

    // The level charts hold the minutes of the last 24 hours and the hours of the last 7 days,
    // each at its period's end, with the limits in force beside them.
    void levelChartsFollowTheBucket()
    {
        const FakeHistory history = FakeHistory::filled(now, 60);
        HistoryWindow window(history, now);
        const LevelChart lastDay(window, u"lastDay"_qs);
        const LevelChart lastWeek(window, u"lastWeek"_qs);
        const int64_t end = now.toSecsSinceEpoch();
        const auto countIn = [end](const std::vector<UsagePeriod> &periods, int64_t span) {
            return std::count_if(periods.begin(), periods.end(), [&](const UsagePeriod &p) {
                return p.startUtc >= end - span && p.startUtc <= end;
            });
        };
        QCOMPARE(lastDay.levelSeries->count(), countIn(history.minutes, day));
        QCOMPARE(lastWeek.levelSeries->count(), countIn(history.hours, 7 * day));
        const UsagePeriod &last = history.minutes.back();
        const QPointF at = lastDay.levelSeries->points().last();
        QCOMPARE(qint64(at.x()), (last.startUtc + 60) * 1000);
        QCOMPARE(at.y(), double(last.levelBytes) / megabyte);
        QCOMPARE(lastDay.throttleSeries->points().last().y(), 150.0);
        QCOMPARE(lastDay.cutOffSeries->points().last().y(), 200.0);
        QCOMPARE(lastDay.stack->currentWidget(), lastDay.chartView);
    }

    // Nothing recorded: every chart and the host table give way to a sentence that says so.
    void emptyHistorySaysSo()
    {
        const FakeHistory history;
        HistoryWindow window(history, now);
        const UsagePage dayPage(window, u"dayPage"_qs);
        const UsagePage monthPage(window, u"monthPage"_qs);
        const LevelChart lastDay(window, u"lastDay"_qs);
        const LevelChart lastWeek(window, u"lastWeek"_qs);
        const QList<std::pair<QStackedWidget *, QString>> expected{
            {dayPage.chartStack, u"No traffic was recorded on this day."_qs},
            {dayPage.hostStack, u"No LAN host downloaded anything on this day."_qs},
            {monthPage.chartStack, u"No traffic was recorded in this month."_qs},
            {monthPage.hostStack, u"No LAN host downloaded anything in this month."_qs},
            {lastDay.stack, u"No bucket level was recorded in the last 24 hours."_qs},
            {lastWeek.stack, u"No bucket level was recorded in the last 7 days."_qs},
        };
        for (const auto &[stack, text] : expected) {
            const auto *shown = qobject_cast<QLabel *>(stack->currentWidget());
            QVERIFY2(shown, qPrintable(text));
            QCOMPARE(shown->text(), text);
        }
        QCOMPARE(dayPage.totalsLabel->text(), QString());
    }

    // The chooser starts on today and this month and goes no further.
    void chooserStopsAtToday()
    {
        const FakeHistory history = FakeHistory::filled(now, 60);
        HistoryWindow window(history, now);
        const UsagePage dayPage(window, u"dayPage"_qs);
        const UsagePage monthPage(window, u"monthPage"_qs);
        QCOMPARE(dayPage.dateEdit->date(), now.date());
        QCOMPARE(monthPage.dateEdit->date(), QDate(2026, 12, 1));
        QVERIFY(!dayPage.nextButton->isEnabled());
        QTest::mouseClick(dayPage.previousButton, Qt::LeftButton);
        QCOMPARE(dayPage.dateEdit->date(), now.date().addDays(-1));
        QVERIFY(dayPage.nextButton->isEnabled());
        QTest::mouseClick(monthPage.previousButton, Qt::LeftButton);
        QCOMPARE(monthPage.dateEdit->date(), QDate(2026, 11, 1));
    }

    // The window at a few states, for a person to look at.
    void render()
    {
        const FakeHistory busy = FakeHistory::filled(now, 60);
        const FakeHistory empty;
        HistoryWindow window(busy, now);
        const UsagePage dayPage(window, u"dayPage"_qs);
        QTabWidget *tabs = findControl<QTabWidget>(window, u"historyTabs"_qs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto save = [&window](const QString &name) {
            QCoreApplication::processEvents(); // the charts lay out their new axes
            QVERIFY(window.grab().save(renderingPath(name)));
        };
        tabs->setCurrentIndex(0);
        save(u"history-day.png"_qs);
        dayPage.dateEdit->setDate(QDate(2026, 10, 25));
        save(u"history-day-25-hours.png"_qs);
        tabs->setCurrentIndex(1);
        save(u"history-month.png"_qs);
        tabs->setCurrentIndex(2);
        save(u"history-level.png"_qs);

        HistoryWindow emptyWindow(empty, now);
        emptyWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&emptyWindow));
        QVERIFY(emptyWindow.grab().save(renderingPath(u"history-empty.png"_qs)));
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "tst_historywindow.moc"
