#pragma once

#include <QString>
#include <QStringList>

#include <variant>

// `tarvo-cli watch IFACE [--ini FILE] [--seconds N] [--history FILE] [--every N]
// [--status-socket PATH] [--metrics-file PATH] [--alerts]`, as read from its arguments.
struct WatchOptions
{
    QString device;
    QString settingsFile; // --ini; empty: the defaults of "tarvo.ini"
    int seconds = 0;      // --seconds; 0: until SIGINT or SIGTERM
    QString historyFile;  // --history; empty: no usage history
    int every = 1;        // --every: a line each this many seconds
    QString statusSocket; // --status-socket; empty: none
    QString metricsFile;  // --metrics-file; empty: none
    bool alerts = false;  // --alerts: the alert rules of the settings, and their commands
};

// The arguments after "watch"; a bad option gives its one-line message instead.
std::variant<WatchOptions, QString> parseWatchOptions(const QStringList &arguments);

// Captures on the adapter and prints one line a second (or each --every seconds, with the
// counts of the seconds since the line before), as replay does, with the capture's own counts
// added, until the time is up or a signal comes; then stops the capture and prints the last line.
// The status socket answers as the program's does; the metrics file is replaced at each line. Writes no settings; with --history, each finished minute (and the last one begun)
// goes into that usage history. Returns the exit status; a failure has printed its one line.
int runWatch(const WatchOptions &options);
