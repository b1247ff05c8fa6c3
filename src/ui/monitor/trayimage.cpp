#include "ui/monitor/trayimage.h"

#include "ui/common/colours.h"

#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <array>
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

// Digits drawn pixel by pixel, four columns wide and seven rows high: "100" fits the picture
// whole, with a blank column between digits, where any font small enough merges or clips them.
constexpr int glyphWidth = 4;
constexpr int glyphHeight = 7;
using Glyph = std::array<uint8_t, glyphHeight>; // one row a byte, bit 3 the leftmost column

constexpr std::array<Glyph, 10> digitGlyphs{{
    {0b0110, 0b1001, 0b1001, 0b1001, 0b1001, 0b1001, 0b0110},
    {0b0010, 0b0110, 0b0010, 0b0010, 0b0010, 0b0010, 0b0111},
    {0b0110, 0b1001, 0b0001, 0b0010, 0b0100, 0b1000, 0b1111},
    {0b1110, 0b0001, 0b0001, 0b0110, 0b0001, 0b0001, 0b1110},
    {0b1001, 0b1001, 0b1001, 0b1111, 0b0001, 0b0001, 0b0001},
    {0b1111, 0b1000, 0b1110, 0b0001, 0b0001, 0b1001, 0b0110},
    {0b0110, 0b1000, 0b1000, 0b1110, 0b1001, 0b1001, 0b0110},
    {0b1111, 0b0001, 0b0010, 0b0010, 0b0100, 0b0100, 0b0100},
    {0b0110, 0b1001, 0b1001, 0b0110, 0b1001, 0b1001, 0b0110},
    {0b0110, 0b1001, 0b1001, 0b0111, 0b0001, 0b0001, 0b0110},
}};
constexpr Glyph minusGlyph{0, 0, 0, 0b1111, 0, 0, 0};

void drawPercentage(QImage &image, int64_t levelPercent)
{
    const QString text = QString::number(levelPercent);
    const int width = int(text.size()) * (glyphWidth + 1) - 1;
    // Integer division truncates toward zero, as the centring rule wants; a text wider than the
    // picture is cut on both sides.
    int left = (side - width) / 2;
    const int top = (side - glyphHeight) / 2;
    const QRgb ink = QColor(Colours::blue).rgb();
    for (const QChar character : text) {
        const Glyph &glyph = character.isDigit() ? digitGlyphs[size_t(character.digitValue())] : minusGlyph;
        for (int row = 0; row < glyphHeight; ++row) {
            for (int column = 0; column < glyphWidth; ++column) {
                const int x = left + column;
                if (x >= 0 && x < side && (glyph[size_t(row)] >> (glyphWidth - 1 - column)) & 1)
                    image.setPixel(x, top + row, ink);
            }
        }
        left += glyphWidth + 1;
    }
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
    if (gauge.style == TrayStyle::Text) {
        drawPercentage(image, gauge.levelPercent);
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawGauge(painter, gauge);
    return image;
}
