#pragma once

#include "meter/providerfigure.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <variant>

// `tarvo-cli set-bucket BYTES|N% [--level]`, as read from its arguments: the provider's remaining
// allowance in bytes (units as for plan) or percent, or with --level the bucket level in bytes.
struct SetBucketOptions
{
    ProviderFigure figure;
};

// The arguments after "set-bucket"; a bad one gives its one-line message instead.
std::variant<SetBucketOptions, QString> parseSetBucketOptions(const QStringList &arguments);

// Besides 0, 2 (bad input, an answer that cannot be read) and those of status (3: no program
// running, 4: no answer in time): the program refused (no "Ok" of the options yet, or a figure
// beyond what the bucket holds).
enum SetBucketExit { refusedExit = 5 };

// Hands the figure to the program running as "tarvo" and prints the level set and the one it
// replaced; a failure prints one line on standard error. Returns the exit status.
int runSetBucket(const SetBucketOptions &options, std::chrono::milliseconds wait = std::chrono::seconds(2));
