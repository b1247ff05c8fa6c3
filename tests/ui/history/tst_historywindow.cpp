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
#include <QScreen>
#include <QTest>
#include <QTimeZone>
#include <QToolButton>

#include <numeric>

// The history window against a usage history held in memory. Runs with TZ=Europe/Berlin, where
// clocks go forward on 29 March 2026 and back on 25 October 2026.
Q_DECLARE_METATYPE(std::vector<BucketCorrection>)

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

HostAddress address(int a, int b, int c, int d)
{
    return HostAddress::fromIpv4(uint32_t(a) << 24 | uint32_t(b) << 16 | uint32_t(c) << 8 | uint32_t(d));
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

    // An IPv6 host is listed in its usual short text, beside an IPv4 one.
    void hostTableShowsAnIpv6Host()
    {
        const QDate date(2026, 11, 1);
        FakeHistory history;
        history.hours.push_back(period(localMidnight(date) + 5 * hour, 4000000, 0));
        history.hostRecords = {
            {localMidnight(date) + 5 * hour, {address(192, 168, 0, 10), 1000000}},
            {localMidnight(date) + 5 * hour, {HostAddress{0x20010DB800010000ull, 0x10ull}, 3000000}},
        };
        HistoryWindow window(history, now);
        const UsagePage dayPage(window, u"dayPage"_qs);
        dayPage.dateEdit->setDate(date);
        QCOMPARE(dayPage.hostTable->rowCount(), 2);
        QCOMPARE(rowTexts(dayPage.hostTable, 0), (QStringList{u"2001:db8:1::10"_qs, u"3,000,000"_qs, u"75.0 %"_qs}));
        QCOMPARE(rowTexts(dayPage.hostTable, 1), (QStringList{u"192.168.0.10"_qs, u"1,000,000"_qs, u"25.0 %"_qs}));
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

    // A bar stands centred on its label: the middle of its green download part is the middle of
    // its category, at every bar of a day and of a month.
    void barsSitOnTheirLabels_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("tab");
        QTest::newRow("day") << u"dayPage"_qs << 0;
        QTest::newRow("month") << u"monthPage"_qs << 1;
    }
    void barsSitOnTheirLabels()
    {
        QFETCH(QString, page);
        QFETCH(int, tab);
        const FakeHistory history = FakeHistory::filled(now, 60);
        HistoryWindow window(history, now);
        const UsagePage usage(window, page);
        findControl<QTabWidget>(window, u"historyTabs"_qs)->setCurrentIndex(tab);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        QChart *chart = usage.chartView->chart();
        const QImage image = usage.chartView->grab().toImage();
        QAbstractSeries *bars = chart->series().constFirst();
        int checked = 0;
        for (int category = 0; category < usage.downloadSet->count(); ++category) {
            const double height = usage.downloadSet->at(category);
            if (height < usage.valueAxis->max() / 10)
                continue; // too thin to measure
            const QPointF middle = chart->mapToPosition(QPointF(category, height / 2), bars);
            // The picture has the screen's pixels, 1.25 to a point at 120 DPI.
            const QPoint at = (QPointF(usage.chartView->mapFromScene(middle)) * image.devicePixelRatio()).toPoint();
            int left = at.x();
            int right = at.x();
            const QRgb lime = QColor(0, 255, 0).rgb();
            QVERIFY2(image.pixel(at) == lime, qPrintable(u"no bar at %1"_qs.arg(category)));
            while (left > 0 && image.pixel(left - 1, at.y()) == lime)
                --left;
            while (right < image.width() - 1 && image.pixel(right + 1, at.y()) == lime)
                ++right;
            // Side by side, the download bar stood half its width left of the middle.
            QVERIFY2(std::abs(left + right - 2 * at.x()) <= std::max(3, (right - left) / 4),
                     qPrintable(u"bar %1: %2..%3 around %4"_qs.arg(category).arg(left).arg(right).arg(at.x())));
            ++checked;
        }
        QVERIFY(checked > 5);
    }

    void escapeCloses()
    {
        const FakeHistory history;
        HistoryWindow window(history, now);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(findControl<QTabWidget>(window, u"historyTabs"_qs), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    // Open over a running recorder, the window follows it: once a minute, a few seconds in, it
    // reads the level charts and a day and month that show today again; a day that ends moves
    // a chooser left at today on to the new day.
    void followsNewMinutes_data()
    {
        QTest::addColumn<int>("secondsLater");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QDate>("dayShown");
        QTest::newRow("the same minute") << HistoryWindow::followDelaySeconds - 1 << false << now.date();
        QTest::newRow("the next minute, written") << HistoryWindow::followDelaySeconds << true << now.date();
        QTest::newRow("the next day") << int(12 * hour) + 60 << true << now.date().addDays(1);
    }
    void followsNewMinutes()
    {
        QFETCH(int, secondsLater);
        QFETCH(bool, read);
        QFETCH(QDate, dayShown);
        FakeHistory history = FakeHistory::filled(now, 60);
        HistoryWindow window(history, now);
        const LevelChart lastDay(window, u"lastDay"_qs);
        const UsagePage dayPage(window, u"dayPage"_qs);
        const int64_t downloaded = sum(bytesOf(dayPage.downloadSet, dayPage.unitBytes()));
        // The recorder writes the minute that has just ended, and its hour.
        const int64_t start = now.toSecsSinceEpoch();
        UsagePeriod minute = period(start, 5 * megabyte, 0);
        minute.levelBytes = 100 * megabyte;
        history.minutes.push_back(minute);
        history.hours.push_back(period(start, 5 * megabyte, 0));
        const QDateTime later = now.addSecs(secondsLater);
        window.follow(later);
        QCOMPARE(lastDay.levelSeries->points().constLast().x() == double((start + 60) * 1000), read);
        QCOMPARE(dayPage.dateEdit->date(), dayShown);
        QCOMPARE(dayPage.dateEdit->maximumDate(), later.date());
        if (dayShown == now.date())
            QCOMPARE(sum(bytesOf(dayPage.downloadSet, dayPage.unitBytes())), downloaded + (read ? 5 * megabyte : 0));
        if (!read)
            return;
        // A tick later in that minute reads nothing again.
        const QPointF shown = lastDay.levelSeries->points().constLast();
        history.minutes.push_back(period(start + 60, 0, 0));
        window.follow(later.addSecs(1));
        QCOMPARE(lastDay.levelSeries->points().constLast(), shown);
    }

    // Little recorded: the level charts start at the first record, at most a 24th of their span
    // before now, so a few minutes fill a sensible width instead of the last pixels.
    void levelAxisStart_data()
    {
        QTest::addColumn<qint64>("span");
        QTest::addColumn<qint64>("recordedFor");
        QTest::addColumn<qint64>("shownFor");
        QTest::newRow("24 hours, 3 minutes recorded") << qint64(day) << qint64(180) << qint64(hour);
        QTest::newRow("24 hours, 5 hours recorded") << qint64(day) << qint64(5 * hour) << qint64(5 * hour);
        QTest::newRow("24 hours, 2 days recorded") << qint64(day) << qint64(2 * day) << qint64(day);
        QTest::newRow("7 days, 1 hour recorded") << qint64(7 * day) << qint64(hour) << qint64(7 * hour);
        QTest::newRow("7 days, 3 days recorded") << qint64(7 * day) << qint64(3 * day) << qint64(3 * day);
    }
    void levelAxisStart()
    {
        QFETCH(qint64, span);
        QFETCH(qint64, recordedFor);
        QFETCH(qint64, shownFor);
        const int64_t end = now.toSecsSinceEpoch();
        QCOMPARE(levelAxisStartUtc(end, span, end - recordedFor), end - shownFor);
    }

    void fewMinutesFillTheLevelChart()
    {
        FakeHistory history;
        const int64_t end = now.toSecsSinceEpoch();
        for (int64_t t = end - 180; t < end; t += 60) {
            UsagePeriod minute = period(t, megabyte, 0);
            minute.levelBytes = int32_t(t % 7 * megabyte);
            history.minutes.push_back(minute);
        }
        history.hours.push_back(period(end / 3600 * 3600, 3 * megabyte, 0));
        HistoryWindow window(history, now);
        const LevelChart lastDay(window, u"lastDay"_qs);
        const LevelChart lastWeek(window, u"lastWeek"_qs);
        QCOMPARE(lastDay.timeAxis->min(), now.addSecs(-hour));
        QCOMPARE(lastWeek.timeAxis->min(), now.addSecs(-7 * hour));
        // One hour recorded is one point: drawn as a point, not as a line that is not there.
        QCOMPARE(lastWeek.levelSeries->count(), 1);
        QVERIFY(lastWeek.levelSeries->pointsVisible());
        QVERIFY(!lastDay.levelSeries->pointsVisible());
    }

    // On the screen it opens on, frame and all: 800 px at 120 DPI leaves 640 to lay out in.
    void fitsTheScreen()
    {
        const FakeHistory history = FakeHistory::filled(now, 60);
        HistoryWindow window(history, now);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect room = window.screen()->availableGeometry();
        QVERIFY2(window.height() + 40 <= room.height(), qPrintable(QString::number(window.height())));
        QVERIFY(window.width() <= room.width());
        QVERIFY(window.minimumSizeHint().height() <= window.height());
        // The level charts keep room to be read.
        findControl<QTabWidget>(window, u"historyTabs"_qs)->setCurrentIndex(2);
        QCoreApplication::processEvents();
        for (const QString &name : {u"lastDay"_qs, u"lastWeek"_qs}) {
            const LevelChart chart(window, name);
            QVERIFY2(chart.chartView->chart()->plotArea().height() >= 100,
                     qPrintable(u"%1: %2"_qs.arg(name).arg(chart.chartView->chart()->plotArea().height())));
        }
    }

    // The corrections, newest first, and the drift they show, read again as the clock moves on.
    void corrections_data()
    {
        QTest::addColumn<std::vector<BucketCorrection>>("corrections");
        QTest::addColumn<QString>("drift");
        QTest::addColumn<QStringList>("firstRow");
        const int64_t start = now.toSecsSinceEpoch() - 4 * 86400;
        QTest::newRow("none") << std::vector<BucketCorrection>{}
                              << u"No corrections yet: \"Set bucket from provider...\" in the File menu records one."_qs
                              << QStringList();
        QTest::newRow("one") << std::vector<BucketCorrection>{{start, 9000000, 1000000}}
                             << u"The drift shows from the second correction on."_qs
                             << QStringList{u"9,000,000"_qs, u"1,000,000"_qs, u"8,000,000"_qs};
        QTest::newRow("ahead") << std::vector<BucketCorrection>{{start, 0, 0}, {start + 2 * 86400, 10485760, 0}}
                               << u"Tarvo runs ahead of the provider by 5.0 MB a day."_qs
                               << QStringList{u"10,485,760"_qs, u"0"_qs, u"10,485,760"_qs};
        QTest::newRow("behind") << std::vector<BucketCorrection>{{start, 0, 0}, {start + 4 * 86400, 1000, 4195304}}
                                << u"Tarvo runs behind the provider by 1.0 MB a day."_qs
                                << QStringList{u"1,000"_qs, u"4,195,304"_qs, u"-4,194,304"_qs};
    }
    void corrections()
    {
        QFETCH(std::vector<BucketCorrection>, corrections);
        QFETCH(QString, drift);
        QFETCH(QStringList, firstRow);
        FakeHistory history;
        HistoryWindow window(history, now);
        history.bucketCorrections = corrections;
        window.follow(now.addSecs(60));
        QCOMPARE(findControl<QLabel>(window, u"driftLabel"_qs)->text(), drift);
        const QTableWidget *table = findControl<QTableWidget>(window, u"correctionsTable"_qs);
        QCOMPARE(table->rowCount(), int(corrections.size()));
        if (corrections.empty())
            return;
        QCOMPARE(table->item(0, 0)->text(),
                 QDateTime::fromSecsSinceEpoch(corrections.back().utcSeconds).toString(u"yyyy-MM-dd HH:mm"_qs));
        for (int column = 1; column < 4; ++column)
            QCOMPARE(table->item(0, column)->text(), firstRow[column - 1]);
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
        tabs->setCurrentIndex(3);
        save(u"history-corrections.png"_qs);

        HistoryWindow emptyWindow(empty, now);
        emptyWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&emptyWindow));
        QVERIFY(emptyWindow.grab().save(renderingPath(u"history-empty.png"_qs)));
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "tst_historywindow.moc"
