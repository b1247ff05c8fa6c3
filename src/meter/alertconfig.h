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
    // The connection marked as metered above this part of the way to the throttle limit.
    bool markMetered = false;
    int32_t meteredPercent = 90;

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
