#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// What the user wants to be told, as "tarvo.ini" [Alerts] keeps it.
struct AlertConfig
{
    bool enabled = true;
    QList<int> stepsPercent{75, 90}; // ascending, each within 1..99: parts of the way to the throttle limit
    int32_t warnMinutes = 10;        // 0: no warning before the throttle

    // Command lines run at an alert (empty: none); `command` for every kind without one of its own.
    QString command{};
    QString stepCommand{};
    QString warningCommand{};
    QString throttledCommand{};
    QString cutOffCommand{};
    QString recoveredCommand{};
    QString cutOffReleasedCommand{};
    QString captureStoppedCommand{};
    QString framesDroppedCommand{};
};
