#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <variant>

// Exit statuses of the commands that ask the running program, besides 0 and the usual 2 (a bad
// option, or an answer that cannot be read): no running program (nothing listens: no socket, or one
// a killed copy left behind), and a program that did not answer within the wait.
enum StatusExit { notRunningExit = 3, busyExit = 4 };

// Sends one request line to the program running as "tarvo" on its socket in the user's runtime
// folder, or to the socket at `socketPath` when one is given, and returns its answer line without
// the line end; or, when it cannot, prints one line on standard error and returns the exit status.
std::variant<QByteArray, int> askRunningTarvo(const QByteArray &request, std::chrono::milliseconds wait,
                                              const QString &socketPath = {});

// "tarvo-cli: MESSAGE" on standard error; returns `status`.
int failWith(int status, const QString &message);
