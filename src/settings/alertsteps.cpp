#include "settings/alertsteps.h"

#include <QStringList>

#include <algorithm>

std::optional<QList<int>> parseAlertSteps(QStringView text)
{
    QList<int> steps;
    if (text.trimmed().isEmpty())
        return steps;
    for (QStringView part : text.split(u',')) {
        bool ok = false;
        const int step = part.trimmed().toInt(&ok, 10);
        if (!ok || step < 1 || step > 99)
            return std::nullopt;
        steps.append(step);
    }
    std::sort(steps.begin(), steps.end());
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    return steps;
}

QString formatAlertSteps(const QList<int> &steps)
{
    QStringList parts;
    for (int step : steps)
        parts.append(QString::number(step));
    return parts.join(u',');
}
