#include "ui/monitor/pictures.h"

#include <QPainter>
#include <QPolygon>

namespace Pictures {
namespace {

constexpr QColor signBorder{0, 128, 0};
constexpr QColor signFace{255, 255, 0};
constexpr QColor arrowColour{0, 0, 128};
constexpr QColor darkBlue{0, 64, 128};

void fillDiamond(QPainter &painter, int inset, const QColor &colour)
{
    const int far = 32 - inset;
    painter.setBrush(colour);
    painter.drawPolygon(QPolygon({QPoint(16, inset), QPoint(far, 16), QPoint(16, far), QPoint(inset, 16)}));
}

// The sign's degrees of turn from the upward arrow, about the image centre.
int turn(Arrow arrow)
{
    switch (arrow) {
    case Arrow::Up:
        return 0;
    case Arrow::Down:
        return 180;
    case Arrow::Left:
        return 270;
    }
    return 0;
}

} // namespace

QImage trendSign(Arrow arrow)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    // Hard edges only: an icon of 16 colours has no blended pixels.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    fillDiamond(painter, 0, signBorder);
    fillDiamond(painter, 3, signFace);

    // Turning by a multiple of 90 degrees about the centre maps whole pixels onto whole pixels.
    painter.translate(16, 16);
    painter.rotate(turn(arrow));
    painter.translate(-16, -16);
    painter.setBrush(arrowColour);
    painter.drawPolygon(QPolygon({QPoint(16, 6), QPoint(24, 15), QPoint(8, 15)}));
    painter.drawRect(13, 15, 6, 10);
    return image;
}

QIcon programIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(darkBlue);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);

    // A "T" above a level gauge that is two thirds full.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(7, 6, 18, 4);
    painter.drawRect(14, 10, 4, 10);
    painter.setBrush(QColor(0, 128, 0));
    painter.drawRect(6, 22, 20, 5);
    painter.setBrush(QColor(0, 255, 0));
    painter.drawRect(6, 22, 13, 5);
    painter.end();

    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(image));
    icon.addPixmap(QPixmap::fromImage(image.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    return icon;
}

} // namespace Pictures
