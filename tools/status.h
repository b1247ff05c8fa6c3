#pragma once

#include "instanceclient.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <variant>

// `tarvo-cli status [--json] [--socket PATH]`, as read from its arguments.
struct StatusOptions
{
    bool json = false;
    QString socket; // --socket: a `watch --status-socket`; empty: the running program's
};

// The arguments after "status"; a bad option gives its one-line message instead.
std::variant<StatusOptions, QString> parseStatusOptions(const QStringList &arguments);

// Asks the program running as "tarvo" for its figures on its socket in the user's runtime folder
// (or whoever serves --socket) and prints them as one line: plain, or the JSON line as the program sent it. A failure prints
// one line on standard error. Returns the exit status.
int runStatus(const StatusOptions &options, std::chrono::milliseconds wait = std::chrono::seconds(2));
