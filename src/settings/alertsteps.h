#pragma once

#include <QList>
#include <QString>

#include <optional>

// The alert steps as "tarvo.ini" and the options window write them: whole percentages of the way
// to the throttle limit, comma-separated ("75,90").

// Each step within 1..99, blanks around them allowed; the steps come back ascending without
// repeats. "" is no steps; nothing for any other text.
std::optional<QList<int>> parseAlertSteps(QStringView text);
QString formatAlertSteps(const QList<int> &steps);
