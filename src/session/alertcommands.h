#pragma once

#include "meter/alertrules.h"

#include <QObject>
#include <QProcessEnvironment>

#include <chrono>

class MonitoringSession;
struct SessionTick;

// What the alert rules read of a session's tick: the bucket and the capture's state.
AlertReading alertReading(const SessionTick &tick);

// `base` with the alert's figures added as TARVO_* variables (the README lists them).
QProcessEnvironment alertEnvironment(const Alert &alert, const AlertReading &reading,
                                     QProcessEnvironment base = QProcessEnvironment::systemEnvironment());

// Runs each alert's command line beside the tick: split as a shell splits quotes but run without
// one, never waited for on the tick, killed when it outlives the time limit. A command that cannot
// start, ends with another exit status than 0 or is killed is reported once, with the start of
// what it printed.
class AlertCommands : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds defaultTimeLimit{30000};
    // What a failure's message quotes of the command's output.
    static constexpr qsizetype quotedOutput = 200;

    explicit AlertCommands(std::chrono::milliseconds timeLimit = defaultTimeLimit, QObject *parent = nullptr);
    // Kills the commands still running.
    ~AlertCommands() override;

    // Starts the command `config` names for the alert's kind, if any, and returns at once.
    void run(const AlertConfig &config, const Alert &alert, const AlertReading &reading);
    // Without windows: the alert rules of the session's settings, tick by tick, run the commands.
    void follow(MonitoringSession &session);
    // Commands started and not ended yet.
    int running() const { return m_running; }
    // At the end of a run without an event loop: lets each command end or reach its time limit.
    void waitForRunning();

Q_SIGNALS:
    void failed(const QString &message);

private:
    std::chrono::milliseconds m_timeLimit;
    int m_running = 0;
};
