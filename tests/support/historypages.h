#pragma once

#include "support/controls.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QHash>
#include <QLabel>
#include <QLineSeries>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QValueAxis>

// The history window's day or month page ("dayPage", "monthPage"), its parts found by name.
struct UsagePage
{
    UsagePage(const QWidget &window, const QString &name)
        : page(findControl<QWidget>(window, name))
    {
    }

    // What one unit of the bars is, as the value axis names it; 0 for a name it should not have.
    int64_t unitBytes() const
    {
        static const QHash<QString, int64_t> units{
            {QStringLiteral("KB"), 1024}, {QStringLiteral("MB"), 1048576}, {QStringLiteral("GB"), 1073741824}};
        return units.value(valueAxis->titleText(), 0);
    }

    QWidget *page;
    QToolButton *previousButton = findControl<QToolButton>(*page, QStringLiteral("previousButton"));
    QDateEdit *dateEdit = findControl<QDateEdit>(*page, QStringLiteral("dateEdit"));
    QToolButton *nextButton = findControl<QToolButton>(*page, QStringLiteral("nextButton"));
    QLabel *totalsLabel = findControl<QLabel>(*page, QStringLiteral("totalsLabel"));
    QStackedWidget *chartStack = findControl<QStackedWidget>(*page, QStringLiteral("chartStack"));
    QChartView *chartView = findControl<QChartView>(*page, QStringLiteral("usageChart"));
    QBarSet *downloadSet = findControl<QBarSet>(*chartView->chart(), QStringLiteral("downloadSet"));
    QBarSet *uploadSet = findControl<QBarSet>(*chartView->chart(), QStringLiteral("uploadSet"));
    QBarCategoryAxis *categoryAxis = findControl<QBarCategoryAxis>(*chartView->chart(), QStringLiteral("categoryAxis"));
    QValueAxis *valueAxis = findControl<QValueAxis>(*chartView->chart(), QStringLiteral("valueAxis"));
    QStackedWidget *hostStack = findControl<QStackedWidget>(*page, QStringLiteral("hostStack"));
    QTableWidget *hostTable = findControl<QTableWidget>(*page, QStringLiteral("hostTable"));
    QLabel *noHostsLabel = findControl<QLabel>(*page, QStringLiteral("noHostsLabel"));
};

// One of the bucket level charts ("lastDay", "lastWeek") with the stack that holds it.
struct LevelChart
{
    LevelChart(const QWidget &window, const QString &name)
        : stack(findControl<QStackedWidget>(window, name + QStringLiteral("Stack")))
        , chartView(findControl<QChartView>(window, name + QStringLiteral("Chart")))
    {
    }

    QStackedWidget *stack;
    QChartView *chartView;
    QLineSeries *levelSeries = findControl<QLineSeries>(*chartView->chart(), QStringLiteral("levelSeries"));
    QLineSeries *throttleSeries = findControl<QLineSeries>(*chartView->chart(), QStringLiteral("throttleSeries"));
    QLineSeries *cutOffSeries = findControl<QLineSeries>(*chartView->chart(), QStringLiteral("cutOffSeries"));
    QDateTimeAxis *timeAxis = findControl<QDateTimeAxis>(*chartView->chart(), QStringLiteral("timeAxis"));
};
