#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// One service plan of "plans.ini", as text for the options window's boxes, which are converted
// only when the options are confirmed. The file writes its numbers with "." whatever the locale;
// a plan's numbers come in the user's format, any other text as it stands.
struct Plan
{
    int32_t index = 0;
    QString name;     // "error reading file" when the section or the key is missing
    QString recharge; // KB/s
    QString max;      // cut-off limit, MB
    QString throttle; // throttle limit, MB
};

inline constexpr int32_t maxPlanCount = 10000; // bounds a damaged "PlansCount"

// The names of plans 0 .. PlansCount - 1, in that order; empty when the file is missing.
QStringList readPlanNames(const QString &plansPath);
// The plan of section "Plan<index>" as the file holds it now, each value trimmed; "0" for a
// value that is missing.
Plan readPlan(const QString &plansPath, int32_t index);
