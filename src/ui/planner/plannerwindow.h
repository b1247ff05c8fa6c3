#pragma once

#include "meter/fapparameters.h"
#include "meter/planner.h"

#include <QDateTime>
#include <QDialog>

class LevelCurve;
class QLabel;
class QLineEdit;

// What the planner starts from: the plan's parameters, the bucket as the last tick left it, the
// moment, and the recent average download speed that the speed box offers.
struct PlannerInputs
{
    FapParameters parameters;
    int32_t usedBytes = 0;
    bool cutOff = false;
    QDateTime now;
    double averageDownload = 0.0; // bytes per second
};

// "Will it fit?": the user types a download's size and speed; the window plans it against the
// bucket at once, at every keystroke, and shows the plan in words and as a curve of the bucket.
class PlannerWindow : public QDialog
{
    Q_OBJECT

public:
    explicit PlannerWindow(QWidget *parent = nullptr);

    // Opening from the menu: the speed box takes the recent average speed, the size stays.
    void start(const PlannerInputs &inputs);
    // A newer bucket (every tick while the window is open); what the user typed stays.
    void setInputs(const PlannerInputs &inputs);

private:
    void replan();

    QLineEdit *m_sizeEdit = nullptr;
    QLineEdit *m_speedEdit = nullptr;
    QLabel *m_averageLabel = nullptr;
    QLabel *m_bucketLabel = nullptr;
    QLabel *m_resultLabel = nullptr;
    LevelCurve *m_curve = nullptr;
    PlannerInputs m_inputs;
};
