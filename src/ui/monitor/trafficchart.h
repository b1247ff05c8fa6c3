#pragma once

#include <QDateTime>
#include <QWidget>

#include <cstdint>
#include <deque>

struct ChartPoint
{
    double x; // the tick's moment, in seconds since 1970 UTC
    double y; // bytes per second
};

struct ChartRange
{
    double min;
    double max;
};

// The chart's two series: the download bytes of each second, and ten times the upload bytes so
// that the upload shows beside the download on one axis.
class TrafficChartData
{
public:
    static constexpr double fixedAxisMax = 262144.0;

    // Adds the upload point, then the download point, then cuts each series to `historySeconds`
    // points (none at all for a negative history).
    void add(const QDateTime &now, int32_t download, int32_t upload, int32_t historySeconds);

    const std::deque<ChartPoint> &download() const { return m_download; }
    const std::deque<ChartPoint> &upload() const { return m_upload; }

    // The spans of the points present; a vertical span of one value is widened so the line lies
    // at the bottom. Without auto scale the vertical axis is 0 .. 262144.
    ChartRange xRange() const;
    ChartRange yRange(bool autoScale) const;

private:
    std::deque<ChartPoint> m_download;
    std::deque<ChartPoint> m_upload;
};

// The speed sparkline: no axes, labels, legend or margins; the panel shows through behind it.
class TrafficChart : public QWidget
{
    Q_OBJECT

public:
    explicit TrafficChart(QWidget *parent = nullptr);

    void setAutoScale(bool autoScale);
    bool autoScale() const { return m_autoScale; }

    void add(const QDateTime &now, int32_t download, int32_t upload, int32_t historySeconds);
    const TrafficChartData &data() const { return m_data; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawSeries(QPainter &painter, const std::deque<ChartPoint> &series, const QColor &colour) const;

    TrafficChartData m_data;
    bool m_autoScale = false;
};
