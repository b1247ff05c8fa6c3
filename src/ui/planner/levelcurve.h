#pragma once

#include "meter/planner.h"

#include <QWidget>

// The bucket over the time of a plan: its content as a line, the throttle limit and the cut-off
// limit in force (which steps with the off-peak hours) as lines of their own, the start's and
// the end's clock times under it.
class LevelCurve : public QWidget
{
    Q_OBJECT

public:
    explicit LevelCurve(QWidget *parent = nullptr);

    // An empty curve clears the picture.
    void setPlan(const QList<LevelPoint> &curve, int32_t throttleLimit, const QDateTime &start);

    QSize sizeHint() const override { return {440, 150}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<LevelPoint> m_curve;
    int32_t m_throttleLimit = 0;
    QDateTime m_start;
};
