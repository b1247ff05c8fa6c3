#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <variant>

// `tarvo-cli plan SIZE [--speed BYTES_PER_S] [--ini FILE] [--at TIME]`, as read from its arguments.
struct PlanOptions
{
    int64_t sizeBytes = 0;
    std::optional<int64_t> speed; // empty: the whole download at once, the worst case
    QString settingsFile;         // empty: the program's own "tarvo.ini", when there is one
    QDateTime at;                 // the start; invalid: now
};

// The arguments after "plan"; a bad option gives its one-line message instead. `now` is the local
// date-time that "--at HH:MM" refers to.
std::variant<PlanOptions, QString> parsePlanOptions(const QStringList &arguments, const QDateTime &now);

// Exit statuses of `plan`.
enum PlanStatus { fitsNow = 0, doesNotFitNow = 1, planError = 2 };

// Reads the plan's parameters and the saved bucket, drained up to the start, plans the download
// and prints it in words on standard output. Returns the exit status; an error has printed its
// one line on standard error.
int runPlan(const PlanOptions &options, const QDateTime &now);
