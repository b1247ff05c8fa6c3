#pragma once

#include <QString>
#include <QStringList>

#include <variant>

// `tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE] [--alerts]`, as read from its arguments.
struct WatchOptions
{
    QString device;
    QString settingsFile; // --ini; empty: the defaults of "tarvo.ini"
    int seconds = 0;      // --seconds; 0: until SIGINT or SIGTERM
    QString historyFile;  // --history; empty: no usage history
    bool alerts = false;  // --alerts: the alert rules of the settings, and their commands
};

// The arguments after "watch"; a bad option gives its one-line message instead.
std::variant<WatchOptions, QString> parseWatchOptions(const QStringList &arguments);

// Captures on the adapter and prints one line a second, as replay does, with the capture's own
// counts added, until the time is up or a signal comes; then stops the capture and prints the
// last line. Writes no settings; with --history, each finished minute (and the last one begun)
// goes into that usage history. Returns the exit status; a failure has printed its one line.
int runWatch(const WatchOptions &options);
