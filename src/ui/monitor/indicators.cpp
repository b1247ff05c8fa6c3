#include "ui/monitor/indicators.h"

#include <QPainter>

namespace {
void drawFrame(QPainter &painter, const QRect &rect)
{
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
}
} // namespace

Lamp::Lamp(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(14, 14);
}

void Lamp::setColour(const QColor &colour)
{
    m_colour = colour;
    update();
}

void Lamp::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colour);
    drawFrame(painter, rect());
}

LevelBar::LevelBar(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(233, 17);
}

void LevelBar::setFill(int width, const QColor &colour)
{
    m_fillWidth = width;
    m_fillColour = colour;
    update();
}

void LevelBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect inside = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(QRect(inside.topLeft(), QSize(m_fillWidth, inside.height())).intersected(inside), m_fillColour);
    drawFrame(painter, rect());
}
