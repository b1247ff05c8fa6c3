#include "ui/monitor/trayimage.h"

#include "ui/common/colours.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

constexpr int side = 16;

void drawGauge(QPainter &painter, const TrayGauge &gauge)
{
    const int last = side - 1;
    painter.fillRect(QRect(0, 0, last, last), Colours::green);
    const int column = trayGaugeColumn(gauge.activeLimit, gauge.usedBytes);
    if (column >= 0)
        painter.fillRect(QRect(0, 0, column + 1, last),
                         Colours::level(gauge.cutOff, gauge.usedBytes > gauge.throttleLimit));

    // Four lines, each without its end point: top and left grey, right and bottom silver.
    painter.setPen(Colours::grey);
    painter.drawLine(0, 0, last - 1, 0);
    painter.drawLine(0, last, 0, 1);
    painter.setPen(Colours::silver);
    painter.drawLine(last, 0, last, last - 1);
    painter.drawLine(last, last, 1, last);
}

void drawPercentage(QPainter &painter, int64_t levelPercent)
{
    // DejaVu Sans Bold at 10 pixels keeps every digit whole without smoothing, where the hinted
    // outlines of other sans fonts merge the zeros of "100" at this size.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    // A bitmap font's digits: one colour, no blended edge pixels.
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Colours::blue);

    const QString text = QString::number(levelPercent);
    const QFontMetrics metrics(font, painter.device());
    // Integer division truncates toward zero, as the centring rule wants.
    const int x = (side - metrics.horizontalAdvance(text)) / 2;
    const int y = (side - metrics.height()) / 2;
    painter.drawText(x, y + metrics.ascent(), text);
}

} // namespace

int trayGaugeColumn(int32_t activeLimit, int32_t usedBytes)
{
    if (activeLimit == 0)
        return 0;
    const double remaining = double(activeLimit) - double(usedBytes);
    // A bucket far over its limit would not fit an int; any negative column draws nothing.
    return int(std::clamp(std::floor(15.0 * remaining / double(activeLimit)), -1.0, 15.0));
}

QImage drawTrayImage(const TrayGauge &gauge)
{
    QImage image(side, side, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (gauge.style == TrayStyle::Graphic)
        drawGauge(painter, gauge);
    else
        drawPercentage(painter, gauge.levelPercent);
    return image;
}
