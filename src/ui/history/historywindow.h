#pragma once

#include "history/usagehistory.h"

#include <QDate>
#include <QDateTime>
#include <QWidget>

class QBarCategoryAxis;
class QBarSet;
class QChartView;
class QDateEdit;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QValueAxis;

// The usage history: download and upload per hour of a chosen day and per day of a chosen
// month, with the LAN hosts that downloaded in that period; the bucket level over the last 24
// hours and 7 days beside the throttle and cut-off limits. It reads everything through `reader`
// when it opens, when a period is chosen and once a minute while open; axes show local time.
// Escape closes it.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // `now` fixes "today", this month and the end of the level charts.
    HistoryWindow(const UsageHistoryReader &reader, const QDateTime &now, QWidget *parent = nullptr);

    // The program's clock, each tick: once a minute, a few seconds in so the recorder has
    // written the minute that ended, the level charts and a day or month that holds `now` are
    // read again. Other ticks cost a comparison.
    void follow(const QDateTime &now);
    static constexpr int followDelaySeconds = 5;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A chosen day or month: its bars, its totals, its hosts.
    struct UsageView
    {
        QWidget *page = nullptr;
        QToolButton *previousButton = nullptr;
        QDateEdit *dateEdit = nullptr;
        QToolButton *nextButton = nullptr;
        QLabel *totalsLabel = nullptr;
        QStackedWidget *chartStack = nullptr; // the chart, or noDataLabel when nothing was recorded
        QChartView *chartView = nullptr;
        QBarSet *downloadSet = nullptr;
        QBarSet *uploadSet = nullptr;
        QBarCategoryAxis *categoryAxis = nullptr;
        QValueAxis *valueAxis = nullptr;
        QLabel *noDataLabel = nullptr;
        QStackedWidget *hostStack = nullptr; // the table, or noHostsLabel
        QTableWidget *hostTable = nullptr;
        QLabel *noHostsLabel = nullptr;
    };

    // The bucket level over a span that ends now.
    struct LevelView
    {
        QStackedWidget *stack = nullptr; // the chart, or noDataLabel
        QChartView *chartView = nullptr;
        QLineSeries *levelSeries = nullptr;
        QLineSeries *throttleSeries = nullptr;
        QLineSeries *cutOffSeries = nullptr;
        QDateTimeAxis *timeAxis = nullptr;
        QValueAxis *valueAxis = nullptr;
        QLabel *noDataLabel = nullptr;
    };

    enum class Span { Day, Month };
    void createUsageView(UsageView &view, Span span, const QString &title);
    // `name` names its chart and stack for the tests: "lastDayChart", "lastDayStack".
    void createLevelView(LevelView &view, const QString &name, const QString &span, const QString &timeFormat,
                         int ticks);
    void showUsage(UsageView &view, Span span);
    void showLevels(LevelView &view, HistoryGranularity granularity, int64_t seconds);
    void showAllLevels();
    // "Corrections": each setting of the bucket from the provider's figure, newest first, and the
    // drift per day they show.
    void createCorrectionsPage();
    void showCorrections();
    // The minute whose reading the window shows; a new one makes follow() read again.
    static int64_t readingMinute(const QDateTime &now);

    const UsageHistoryReader &m_reader;
    QDateTime m_now;
    QTabWidget *m_tabs = nullptr;
    UsageView m_dayView;
    UsageView m_monthView;
    QWidget *m_levelPage = nullptr;
    LevelView m_lastDayLevel;
    LevelView m_lastWeekLevel;
    QLabel *m_driftLabel = nullptr;
    QTableWidget *m_correctionsTable = nullptr;
};
