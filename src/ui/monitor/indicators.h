#pragma once

#include <QColor>
#include <QWidget>

// An activity lamp: a square of one colour in a 1-pixel black frame.
class Lamp : public QWidget
{
    Q_OBJECT

public:
    explicit Lamp(QWidget *parent = nullptr);

    void setColour(const QColor &colour);
    QColor colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour;
};

// The level bar: a white box in a 1-pixel black frame with a bar from the left, 15 pixels high,
// in the restriction's colour. A fill wider than the inside is cut at the frame.
class LevelBar : public QWidget
{
    Q_OBJECT

public:
    explicit LevelBar(QWidget *parent = nullptr);

    void setFill(int width, const QColor &colour);
    int fillWidth() const { return m_fillWidth; }
    QColor fillColour() const { return m_fillColour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_fillWidth = 0;
    QColor m_fillColour;
};
