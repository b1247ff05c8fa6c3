#include "ui/history/historywindow.h"

#include "meter/formats.h"
#include "ui/common/colours.h"
#include "ui/common/fonts.h"
#include "ui/history/usagebars.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QScreen>
#include <QStackedBarSeries>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

constexpr int64_t megabyte = 1048576; // as the plans count their limits

const QColor gridColour(255, 255, 255, 48);
const QColor fieldColour(0, 48, 96); // tables and boxes, a shade below the panels

struct ByteUnit
{
    int64_t bytes;
    const char *name;
};

// The largest of KB, MB, GB that the biggest bar still fills once.
ByteUnit unitFor(int64_t largestBytes)
{
    constexpr ByteUnit units[] = {{1073741824, "GB"}, {megabyte, "MB"}, {1024, "KB"}};
    for (const ByteUnit &unit : units) {
        if (largestBytes >= unit.bytes)
            return unit;
    }
    return units[2];
}

// A range from 0 to a whole number of round steps (1, 2 or 5 times a power of ten), about four.
void roundRange(QValueAxis *axis, double largest)
{
    largest = std::max(largest, 1.0);
    const double rough = largest / 4;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10 * power;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (power * factor >= rough) {
            step = power * factor;
            break;
        }
    }
    const int steps = int(std::ceil(largest / step - 1e-9));
    axis->setRange(0, steps * step);
    axis->setTickCount(steps + 1);
}

void darkPalette(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Colours::darkBlue);
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, fieldColour);
    palette.setColor(QPalette::AlternateBase, Colours::darkBlue);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, Colours::darkBlue);
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Highlight, Colours::green);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, Colours::silver);
    widget->setPalette(palette);
}

void styleAxis(QAbstractAxis *axis, const QString &title)
{
    axis->setLabelsBrush(Qt::white);
    axis->setLabelsFont(Fonts::arialPoints(8));
    axis->setLinePenColor(Colours::silver);
    axis->setGridLineColor(gridColour);
    axis->setTitleText(title);
    axis->setTitleBrush(Qt::white);
    axis->setTitleFont(Fonts::arialPoints(8));
}

// A chart on the panels' dark blue, its title and legend in white.
QChartView *darkChart(QWidget *parent, const QString &title)
{
    auto *chart = new QChart;
    chart->setBackgroundBrush(Colours::darkBlue);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setTitle(title);
    chart->setTitleBrush(Qt::white);
    chart->setTitleFont(Fonts::arialPoints(9, true));
    chart->legend()->setLabelColor(Qt::white);
    chart->legend()->setFont(Fonts::arialPoints(8));
    chart->legend()->setAlignment(Qt::AlignTop);
    auto *view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setBackgroundBrush(Colours::darkBlue);
    return view;
}

QLabel *noDataLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(Fonts::arialPoints(10, true));
    label->setAutoFillBackground(true);
    return label;
}

QStackedWidget *stackOf(QWidget *parent, QWidget *shown, QLabel *empty)
{
    auto *stack = new QStackedWidget(parent);
    stack->addWidget(shown);
    stack->addWidget(empty);
    return stack;
}

QToolButton *arrowButton(QWidget *parent, Qt::ArrowType arrow, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

QLineSeries *line(QChart *chart, const QString &name, const QColor &colour, Qt::PenStyle style)
{
    auto *series = new QLineSeries(chart);
    series->setName(name);
    series->setPen(QPen(colour, 2, style));
    chart->addSeries(series);
    return series;
}

// Tests find the parts by these names.
template <typename Part>
Part *named(Part *part, const QString &name)
{
    part->setObjectName(name);
    return part;
}

// The day the chooser shows for `date`: the first of its month in the month view, else itself.
QDate firstOf(QDate date, bool month)
{
    return month ? QDate(date.year(), date.month(), 1) : date;
}

} // namespace

HistoryWindow::HistoryWindow(const UsageHistoryReader &reader, const QDateTime &now, QWidget *parent)
    : QWidget(parent)
    , m_reader(reader)
    , m_now(now.toLocalTime())
{
    setObjectName(QStringLiteral("historyWindow"));
    setWindowTitle(tr("Tarvo history"));
    // A dialog-type window: the window manager keeps it above the monitor it belongs to.
    setWindowFlags(Qt::Dialog | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setFont(Fonts::arialPoints(8));
    setAutoFillBackground(true);
    darkPalette(this);
    // Smaller on a small screen (800 px at 120 DPI leaves 640 to lay out), with room for a frame.
    const QSize room = screen()->availableGeometry().size() - QSize(16, 48);
    resize(QSize(900, 620).boundedTo(room));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("historyTabs"));
    m_tabs->setDocumentMode(true);
    createUsageView(m_dayView, Span::Day, tr("Day"));
    createUsageView(m_monthView, Span::Month, tr("Month"));

    m_levelPage = new QWidget(m_tabs);
    m_levelPage->setObjectName(QStringLiteral("levelPage"));
    auto *levels = new QVBoxLayout(m_levelPage);
    levels->setContentsMargins(4, 4, 4, 4);
    createLevelView(m_lastDayLevel, QStringLiteral("lastDay"), tr("last 24 hours"),
                    QStringLiteral("HH:mm"), 7);
    createLevelView(m_lastWeekLevel, QStringLiteral("lastWeek"), tr("last 7 days"),
                    QStringLiteral("ddd HH:mm"), 8);
    levels->addWidget(m_lastDayLevel.stack, 1);
    levels->addWidget(m_lastWeekLevel.stack, 1);
    m_tabs->addTab(m_levelPage, tr("Bucket level"));
    createCorrectionsPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);

    showUsage(m_dayView, Span::Day);
    showUsage(m_monthView, Span::Month);
    showAllLevels();
    showCorrections();
}

int64_t HistoryWindow::readingMinute(const QDateTime &now)
{
    return (now.toSecsSinceEpoch() - followDelaySeconds) / 60;
}

void HistoryWindow::follow(const QDateTime &now)
{
    if (readingMinute(now) == readingMinute(m_now))
        return;
    const QDate today = m_now.date();
    m_now = now.toLocalTime();
    for (UsageView *view : {&m_dayView, &m_monthView}) {
        const bool month = view == &m_monthView;
        // A chooser left at today moves on to the new day (or month) with the clock.
        const bool atToday = view->dateEdit->date() == firstOf(today, month);
        view->dateEdit->setMaximumDate(m_now.date());
        if (atToday && view->dateEdit->date() != firstOf(m_now.date(), month))
            view->dateEdit->setDate(firstOf(m_now.date(), month)); // which reads it
        else if (atToday)
            showUsage(*view, month ? Span::Month : Span::Day);
    }
    showAllLevels();
    showCorrections();
}

void HistoryWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HistoryWindow::showAllLevels()
{
    showLevels(m_lastDayLevel, HistoryGranularity::Minute, 24 * 3600);
    showLevels(m_lastWeekLevel, HistoryGranularity::Hour, 7 * 24 * 3600);
}

void HistoryWindow::createCorrectionsPage()
{
    auto *page = named(new QWidget(m_tabs), QStringLiteral("correctionsPage"));
    m_driftLabel = named(new QLabel(page), QStringLiteral("driftLabel"));
    m_driftLabel->setWordWrap(true);
    m_correctionsTable = named(new QTableWidget(0, 4, page), QStringLiteral("correctionsTable"));
    m_correctionsTable->setHorizontalHeaderLabels({tr("Set at"), tr("Tarvo's level ( bytes )"),
                                                   tr("Provider's level ( bytes )"), tr("Tarvo ahead by ( bytes )")});
    m_correctionsTable->verticalHeader()->hide();
    m_correctionsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_correctionsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_correctionsTable->setShowGrid(false);
    m_correctionsTable->setAlternatingRowColors(true);
    m_correctionsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_correctionsTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_driftLabel);
    layout->addWidget(m_correctionsTable, 1);
    m_tabs->addTab(page, tr("Corrections"));
}

void HistoryWindow::showCorrections()
{
    const std::vector<BucketCorrection> corrections = m_reader.corrections();
    const QLocale locale;
    const std::optional<double> drift = driftBytesPerDay(corrections);
    const QString megabytes = drift ? locale.toString(std::abs(*drift) / 1048576.0, 'f', 1) : QString();
    if (corrections.empty())
        m_driftLabel->setText(tr("No corrections yet: \"Set bucket from provider...\" in the File menu records one."));
    else if (!drift)
        m_driftLabel->setText(tr("The drift shows from the second correction on."));
    else if (*drift >= 0)
        m_driftLabel->setText(tr("Tarvo runs ahead of the provider by %1 MB a day.").arg(megabytes));
    else
        m_driftLabel->setText(tr("Tarvo runs behind the provider by %1 MB a day.").arg(megabytes));
    m_correctionsTable->setRowCount(int(corrections.size()));
    int row = 0;
    for (auto it = corrections.rbegin(); it != corrections.rend(); ++it, ++row) {
        const QStringList cells{
            locale.toString(QDateTime::fromSecsSinceEpoch(it->utcSeconds), QStringLiteral("yyyy-MM-dd HH:mm")),
            formatCountOrZero(double(it->tarvoLevel), locale), formatCountOrZero(double(it->providerLevel), locale),
            formatCountOrZero(double(it->tarvoLevel - it->providerLevel), locale)};
        for (int column = 0; column < cells.size(); ++column)
            m_correctionsTable->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
}

void HistoryWindow::createUsageView(UsageView &view, Span span, const QString &title)
{
    const bool month = span == Span::Month;
    view.page = new QWidget(m_tabs);
    view.page->setObjectName(month ? QStringLiteral("monthPage") : QStringLiteral("dayPage"));

    view.previousButton =
        named(arrowButton(view.page, Qt::LeftArrow,
                          month ? tr("Previous month") : tr("Previous day")),
              QStringLiteral("previousButton"));
    view.nextButton = named(arrowButton(view.page, Qt::RightArrow,
                                        month ? tr("Next month") : tr("Next day")),
                            QStringLiteral("nextButton"));
    view.dateEdit = named(new QDateEdit(view.page), QStringLiteral("dateEdit"));
    view.dateEdit->setCalendarPopup(true);
    view.dateEdit->setDisplayFormat(month ? QStringLiteral("MMMM yyyy") : QStringLiteral("dddd d MMMM yyyy"));
    view.dateEdit->setMaximumDate(m_now.date());
    view.dateEdit->setDate(firstOf(m_now.date(), month));
    view.dateEdit->setMinimumWidth(180);
    view.totalsLabel = named(new QLabel(view.page), QStringLiteral("totalsLabel"));

    view.chartView = named(darkChart(view.page, month ? tr("Per day") : tr("Per hour")),
                           QStringLiteral("usageChart"));
    QChart *chart = view.chartView->chart();
    view.downloadSet = named(new QBarSet(tr("Download"), chart), QStringLiteral("downloadSet"));
    view.downloadSet->setColor(Colours::lime);
    view.downloadSet->setBorderColor(Colours::lime);
    view.uploadSet = named(new QBarSet(tr("Upload"), chart), QStringLiteral("uploadSet"));
    view.uploadSet->setColor(Colours::silver);
    view.uploadSet->setBorderColor(Colours::silver);
    // One bar a period, centred on its label: the upload stacked on the download. Side by side
    // the taller download bar would stand left of the label.
    auto *bars = named(new QStackedBarSeries(chart), QStringLiteral("bars"));
    bars->append(view.downloadSet);
    bars->append(view.uploadSet);
    bars->setBarWidth(0.8);
    chart->addSeries(bars);
    view.categoryAxis = named(new QBarCategoryAxis(chart), QStringLiteral("categoryAxis"));
    styleAxis(view.categoryAxis, QString());
    view.categoryAxis->setGridLineVisible(false);
    chart->addAxis(view.categoryAxis, Qt::AlignBottom);
    view.valueAxis = named(new QValueAxis(chart), QStringLiteral("valueAxis"));
    styleAxis(view.valueAxis, QString());
    view.valueAxis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(view.valueAxis, Qt::AlignLeft);
    bars->attachAxis(view.categoryAxis);
    bars->attachAxis(view.valueAxis);
    view.noDataLabel = noDataLabel(view.page);
    view.chartStack = named(stackOf(view.page, view.chartView, view.noDataLabel), QStringLiteral("chartStack"));

    view.hostTable = named(new QTableWidget(0, 3, view.page), QStringLiteral("hostTable"));
    view.hostTable->setHorizontalHeaderLabels(
        {tr("LAN host"), tr("Downloaded ( bytes )"), tr("Share")});
    view.hostTable->verticalHeader()->hide();
    view.hostTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.hostTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    view.hostTable->setShowGrid(false);
    view.hostTable->setAlternatingRowColors(true);
    view.hostTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    view.hostTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view.noHostsLabel = named(noDataLabel(view.page), QStringLiteral("noHostsLabel"));
    view.noHostsLabel->setFont(font());
    view.hostStack = named(stackOf(view.page, view.hostTable, view.noHostsLabel), QStringLiteral("hostStack"));

    auto *chooser = new QHBoxLayout;
    chooser->addWidget(view.previousButton);
    chooser->addWidget(view.dateEdit);
    chooser->addWidget(view.nextButton);
    chooser->addSpacing(16);
    chooser->addWidget(view.totalsLabel, 1);
    auto *layout = new QVBoxLayout(view.page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(chooser);
    layout->addWidget(view.chartStack, 3);
    layout->addWidget(view.hostStack, 2);
    m_tabs->addTab(view.page, title);

    auto step = [&view, month](int direction) {
        const QDate date = view.dateEdit->date();
        view.dateEdit->setDate(month ? date.addMonths(direction) : date.addDays(direction));
    };
    connect(view.previousButton, &QToolButton::clicked, this, [step] { step(-1); });
    connect(view.nextButton, &QToolButton::clicked, this, [step] { step(1); });
    connect(view.dateEdit, &QDateEdit::dateChanged, this, [this, &view, span] { showUsage(view, span); });
}

void HistoryWindow::createLevelView(LevelView &view, const QString &name, const QString &span,
                                    const QString &timeFormat, int ticks)
{
    view.chartView =
        named(darkChart(m_levelPage, tr("Bucket level, %1").arg(span)), name + QStringLiteral("Chart"));
    QChart *chart = view.chartView->chart();
    view.levelSeries = named(line(chart, tr("Bucket level"), Colours::lime, Qt::SolidLine),
                             QStringLiteral("levelSeries"));
    view.throttleSeries = named(line(chart, tr("Throttle limit"), Colours::yellow, Qt::DashLine),
                                QStringLiteral("throttleSeries"));
    view.cutOffSeries = named(line(chart, tr("Cut-off limit"), Colours::red, Qt::DashLine),
                              QStringLiteral("cutOffSeries"));
    view.timeAxis = named(new QDateTimeAxis(chart), QStringLiteral("timeAxis"));
    styleAxis(view.timeAxis, tr("Local time"));
    view.timeAxis->setFormat(timeFormat);
    view.timeAxis->setTickCount(ticks);
    chart->addAxis(view.timeAxis, Qt::AlignBottom);
    view.valueAxis = new QValueAxis(chart);
    styleAxis(view.valueAxis, QStringLiteral("MB"));
    view.valueAxis->setLabelFormat(QStringLiteral("%g"));
    chart->addAxis(view.valueAxis, Qt::AlignLeft);
    for (QLineSeries *series : {view.levelSeries, view.throttleSeries, view.cutOffSeries}) {
        series->attachAxis(view.timeAxis);
        series->attachAxis(view.valueAxis);
    }
    view.noDataLabel = noDataLabel(m_levelPage);
    view.noDataLabel->setText(tr("No bucket level was recorded in the %1.").arg(span));
    view.stack = named(stackOf(m_levelPage, view.chartView, view.noDataLabel), name + QStringLiteral("Stack"));
}

void HistoryWindow::showUsage(UsageView &view, Span span)
{
    const bool month = span == Span::Month;
    const QDate date = view.dateEdit->date();
    const std::vector<UsageBar> bars = month ? dayBars(m_reader, date) : hourBars(m_reader, date);
    view.nextButton->setEnabled(date < firstOf(view.dateEdit->maximumDate(), month));

    int64_t download = 0;
    int64_t upload = 0;
    int64_t largest = 0;
    bool recorded = false;
    for (const UsageBar &bar : bars) {
        download += bar.downloadBytes;
        upload += bar.uploadBytes;
        largest = std::max(largest, bar.downloadBytes + bar.uploadBytes);
        recorded = recorded || bar.recorded;
    }
    const ByteUnit unit = unitFor(largest);
    QList<qreal> downloads;
    QList<qreal> uploads;
    QStringList labels;
    for (const UsageBar &bar : bars) {
        downloads << double(bar.downloadBytes) / double(unit.bytes);
        uploads << double(bar.uploadBytes) / double(unit.bytes);
        labels << bar.label;
    }
    view.downloadSet->remove(0, view.downloadSet->count());
    view.uploadSet->remove(0, view.uploadSet->count());
    view.downloadSet->append(downloads);
    view.uploadSet->append(uploads);
    view.categoryAxis->setCategories(labels);
    const bool repeated = std::any_of(bars.begin(), bars.end(), [](const UsageBar &bar) { return bar.repeatedHour; });
    view.categoryAxis->setTitleText(month      ? tr("Day of the month")
                                    : repeated ? tr("Hour (local time; under an hour that came twice, "
                                                                "its offset from UTC)")
                                               : tr("Hour (local time)"));
    view.valueAxis->setTitleText(QString::fromLatin1(unit.name));
    roundRange(view.valueAxis, double(largest) / double(unit.bytes));

    const QString period = month ? tr("in this month") : tr("on this day");
    view.noDataLabel->setText(tr("No traffic was recorded %1.").arg(period));
    view.chartStack->setCurrentIndex(recorded ? 0 : 1);
    view.totalsLabel->setText(
        recorded ? tr("Downloaded: %1 bytes    Uploaded: %2 bytes")
                       .arg(formatCountOrZero(double(download)), formatCountOrZero(double(upload)))
                 : QString());

    const UtcSpan utc = bars.empty() ? UtcSpan{} : UtcSpan{bars.front().startUtc, bars.back().endUtc};
    const std::vector<HostShare> rows = hostShares(m_reader.hosts(utc.fromUtc, utc.toUtc), download);
    view.hostTable->setRowCount(int(rows.size()));
    const QLocale locale;
    for (int row = 0; row < int(rows.size()); ++row) {
        const HostShare &host = rows[size_t(row)];
        const QString cells[] = {host.address, formatCountOrZero(double(host.downloadBytes)),
                                 locale.toString(host.percent, 'f', 1) + QStringLiteral(" %")};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            view.hostTable->setItem(row, column, item);
        }
    }
    view.noHostsLabel->setText(tr("No LAN host downloaded anything %1.").arg(period));
    view.hostStack->setCurrentIndex(rows.empty() ? 1 : 0);
}

void HistoryWindow::showLevels(LevelView &view, HistoryGranularity granularity, int64_t seconds)
{
    const int64_t nowUtc = m_now.toSecsSinceEpoch();
    const std::vector<UsagePeriod> periods = m_reader.periods(granularity, nowUtc - seconds, nowUtc + 1);
    QList<QPointF> level;
    QList<QPointF> throttle;
    QList<QPointF> cutOff;
    int32_t highest = 0;
    // A period's level is the one at its end.
    const int64_t length = granularity == HistoryGranularity::Minute ? 60 : 3600;
    for (const UsagePeriod &period : periods) {
        const double at = double((period.startUtc + length) * 1000);
        level << QPointF(at, double(period.levelBytes) / megabyte);
        throttle << QPointF(at, double(period.throttleLimitBytes) / megabyte);
        cutOff << QPointF(at, double(period.limitBytes) / megabyte);
        highest = std::max({highest, period.levelBytes, period.limitBytes, period.throttleLimitBytes});
    }
    view.levelSeries->replace(level);
    view.throttleSeries->replace(throttle);
    view.cutOffSeries->replace(cutOff);
    const int64_t start = levelAxisStartUtc(nowUtc, seconds, periods.empty() ? nowUtc - seconds : periods.front().startUtc);
    view.timeAxis->setRange(QDateTime::fromSecsSinceEpoch(start), m_now);
    // One period makes no line: its point is drawn instead.
    view.levelSeries->setPointsVisible(periods.size() == 1);
    roundRange(view.valueAxis, double(highest) / megabyte * 1.05); // room above the highest line
    view.stack->setCurrentIndex(periods.empty() ? 1 : 0);
}
