#include "ui/monitor/trafficchart.h"

#include "ui/common/colours.h"

#include <QPainter>

#include <algorithm>

namespace {

void trim(std::deque<ChartPoint> &series, int32_t historySeconds)
{
    const size_t keep = historySeconds < 0 ? 0 : size_t(historySeconds);
    while (series.size() > keep)
        series.pop_front();
}

template<typename Value>
ChartRange span(const std::deque<ChartPoint> &a, const std::deque<ChartPoint> &b, Value value)
{
    ChartRange range{0.0, 0.0};
    bool first = true;
    for (const auto *series : {&a, &b}) {
        for (const ChartPoint &point : *series) {
            const double v = value(point);
            range.min = first ? v : std::min(range.min, v);
            range.max = first ? v : std::max(range.max, v);
            first = false;
        }
    }
    return range;
}

} // namespace

void TrafficChartData::add(const QDateTime &now, int32_t download, int32_t upload, int32_t historySeconds)
{
    const double x = double(now.toMSecsSinceEpoch()) / 1000.0;
    m_upload.push_back({x, 10.0 * upload});
    m_download.push_back({x, double(download)});
    trim(m_upload, historySeconds);
    trim(m_download, historySeconds);
}

ChartRange TrafficChartData::xRange() const
{
    return span(m_upload, m_download, [](const ChartPoint &point) { return point.x; });
}

ChartRange TrafficChartData::yRange(bool autoScale) const
{
    if (!autoScale)
        return {0.0, fixedAxisMax};
    ChartRange range = span(m_upload, m_download, [](const ChartPoint &point) { return point.y; });
    if (range.max <= range.min)
        range.max = range.min + 1.0;
    return range;
}

TrafficChart::TrafficChart(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(65, 58);
}

void TrafficChart::setAutoScale(bool autoScale)
{
    m_autoScale = autoScale;
    update();
}

void TrafficChart::add(const QDateTime &now, int32_t download, int32_t upload, int32_t historySeconds)
{
    m_data.add(now, download, upload, historySeconds);
    update();
}

void TrafficChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Points above a fixed axis are cut off at the top edge.
    painter.setClipRect(rect());
    drawSeries(painter, m_data.upload(), Colours::green);
    drawSeries(painter, m_data.download(), Colours::red);
}

void TrafficChart::drawSeries(QPainter &painter, const std::deque<ChartPoint> &series, const QColor &colour) const
{
    const ChartRange xs = m_data.xRange();
    const ChartRange ys = m_data.yRange(m_autoScale);
    const double right = width() - 1;
    const double bottom = height() - 1;
    auto place = [&](const ChartPoint &point) {
        const double x = xs.max > xs.min ? (point.x - xs.min) / (xs.max - xs.min) * right : 0.0;
        return QPointF(x, bottom - (point.y - ys.min) / (ys.max - ys.min) * bottom);
    };
    painter.setPen(colour);
    for (size_t i = 1; i < series.size(); ++i)
        painter.drawLine(place(series[i - 1]), place(series[i]));
}
