#include "ui/planner/levelcurve.h"

#include "ui/common/colours.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <utility>

namespace {

constexpr int margin = 6;
constexpr double megabyte = 1048576.0;
constexpr int legendLine = 24; // the sample of a limit's line before its name

} // namespace

LevelCurve::LevelCurve(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(sizeHint());
}

void LevelCurve::setPlan(const QList<LevelPoint> &curve, int32_t throttleLimit, const QDateTime &start)
{
    m_curve = curve;
    m_throttleLimit = throttleLimit;
    m_start = start;
    update();
}

void LevelCurve::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Colours::darkBlue);
    painter.setPen(Colours::grey);
    const QFontMetrics metrics = fontMetrics();
    const QRect plot = rect().adjusted(margin, margin, -margin, -margin - metrics.height());
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    if (m_curve.isEmpty())
        return;

    const int64_t span = std::max<int64_t>(m_curve.last().second, 1);
    int64_t top = m_throttleLimit;
    for (const LevelPoint &point : m_curve)
        top = std::max<int64_t>({top, point.usedBytes, point.limit});
    top += top / 20 + 1;
    const auto x = [&](int64_t second) { return plot.left() + double(plot.width() - 1) * double(second) / double(span); };
    const auto y = [&](int64_t bytes) { return plot.bottom() - double(plot.height() - 1) * double(bytes) / double(top); };

    // The cut-off limit holds from one point to the next at the value of the later one.
    QPainterPath limit;
    limit.moveTo(x(0), y(m_curve.first().limit));
    for (qsizetype i = 1; i < m_curve.size(); ++i) {
        limit.lineTo(x(m_curve[i - 1].second), y(m_curve[i].limit));
        limit.lineTo(x(m_curve[i].second), y(m_curve[i].limit));
    }
    painter.setPen(QPen(Colours::red, 1, Qt::DashLine));
    painter.drawPath(limit);
    painter.setPen(QPen(Colours::yellow, 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y(m_throttleLimit)), QPointF(plot.right(), y(m_throttleLimit)));

    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath level;
    level.moveTo(x(0), y(m_curve.first().usedBytes));
    for (const LevelPoint &point : m_curve)
        level.lineTo(x(point.second), y(point.usedBytes));
    painter.setPen(QPen(Colours::lime, 2));
    painter.drawPath(level);

    // Under the picture: the start's time, the limits in their colours, the end's time.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int baseline = rect().bottom() - margin / 2 - metrics.descent();
    const auto megabytes = [](int64_t bytes) { return QString::number(double(bytes) / megabyte, 'f', 1); };
    const QString throttle = tr("throttle %1 MB").arg(megabytes(m_throttleLimit));
    const QString cutOff = tr("cut off %1 MB").arg(megabytes(m_curve.first().limit));
    double left = plot.center().x()
                  - (metrics.horizontalAdvance(throttle) + metrics.horizontalAdvance(cutOff) + 3 * legendLine) / 2.0;
    for (const auto &[text, colour] : {std::pair{throttle, Colours::yellow}, std::pair{cutOff, Colours::red}}) {
        painter.setPen(QPen(colour, 1, Qt::DashLine));
        painter.drawLine(QPointF(left, baseline - metrics.ascent() / 2.0),
                         QPointF(left + legendLine - 4, baseline - metrics.ascent() / 2.0));
        painter.setPen(Qt::white);
        painter.drawText(QPointF(left + legendLine, baseline), text);
        left += legendLine + metrics.horizontalAdvance(text) + legendLine / 2.0;
    }
    painter.drawText(QPointF(plot.left(), baseline), m_start.toString(QStringLiteral("HH:mm:ss")));
    const QDateTime endMoment = m_start.addSecs(span);
    const QString end = endMoment.toString(endMoment.date() == m_start.date() ? QStringLiteral("HH:mm:ss")
                                                                                : QStringLiteral("ddd HH:mm:ss"));
    painter.drawText(QPointF(plot.right() - metrics.horizontalAdvance(end), baseline), end);
}
