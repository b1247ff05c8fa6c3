#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The help of `tarvo-cli --help` (every command) and of `tarvo-cli COMMAND --help` (that command's
// usage, description and options), when `arguments` (those after the program's name) ask for one.
// Nothing when they do not, or name no known command.
std::optional<QString> helpText(const QStringList &arguments);
