#include "session/alertcommands.h"

#include "meter/statusfigures.h"
#include "session/monitoringsession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTimer>

#include <memory>

AlertReading alertReading(const SessionTick &tick)
{
    AlertReading reading = alertReading(tick.now, tick.meter);
    reading.captureStopped = !tick.captureStopMessage.isEmpty();
    reading.captureMessage = tick.captureStopMessage;
    reading.droppedFrames = tick.capture.dropped;
    if (tick.programs)
        if (const std::optional<ProgramBytes> top = tick.programs->top(ProgramPeriod::LastHour))
            reading.topProgram = top->program.name;
    return reading;
}

QProcessEnvironment alertEnvironment(const Alert &alert, const AlertReading &reading, QProcessEnvironment base)
{
    const auto number = [](int64_t value) { return QString::number(value); };
    const auto optional = [&](std::optional<int64_t> value) { return value ? number(*value) : QString(); };
    const int64_t percent =
        reading.throttleLimit > 0 ? 100 * reading.usedBytes / int64_t(reading.throttleLimit) : 0;
    base.insert(QStringLiteral("TARVO_ALERT"), alertKindName(alert.kind).toString());
    base.insert(QStringLiteral("TARVO_SUMMARY"), alert.summary);
    base.insert(QStringLiteral("TARVO_BODY"), alert.body);
    base.insert(QStringLiteral("TARVO_TIME"), reading.now.toUTC().toString(Qt::ISODate));
    base.insert(QStringLiteral("TARVO_RESTRICTION"), restrictionKey(reading.restriction));
    base.insert(QStringLiteral("TARVO_PERCENT"), number(percent));
    base.insert(QStringLiteral("TARVO_LEVEL_BYTES"), number(reading.usedBytes));
    base.insert(QStringLiteral("TARVO_THROTTLE_LIMIT_BYTES"), number(reading.throttleLimit));
    base.insert(QStringLiteral("TARVO_TO_THROTTLE_BYTES"), number(reading.throttleLimit - reading.usedBytes));
    base.insert(QStringLiteral("TARVO_TO_CUT_OFF_BYTES"), number(int64_t(reading.bytesToCutOff)));
    base.insert(QStringLiteral("TARVO_SECONDS_TO_THROTTLE"), optional(reading.secondsToThrottle));
    base.insert(QStringLiteral("TARVO_SECONDS_TO_CUT_OFF"), optional(reading.secondsToCutOff));
    base.insert(QStringLiteral("TARVO_DROPPED_FRAMES"), number(int64_t(reading.droppedFrames)));
    return base;
}

AlertCommands::AlertCommands(std::chrono::milliseconds timeLimit, QObject *parent)
    : QObject(parent)
    , m_timeLimit(timeLimit)
{
}

AlertCommands::~AlertCommands()
{
    for (QProcess *process : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        process->disconnect(this);
        process->kill();
        process->waitForFinished(1000);
    }
}

void AlertCommands::run(const AlertConfig &config, const Alert &alert, const AlertReading &reading)
{
    QStringList arguments = QProcess::splitCommand(alertCommandLine(config, alert.kind));
    if (arguments.isEmpty())
        return;
    const QString program = arguments.takeFirst();
    auto *process = new QProcess(this);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessEnvironment(alertEnvironment(alert, reading));
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    ++m_running;

    // The start of the output is kept for a failure's message; the rest is read and dropped.
    struct Outcome
    {
        QByteArray output;
        bool timedOut = false;
    };
    const auto outcome = std::make_shared<Outcome>();
    const auto keepStart = [process, outcome] {
        outcome->output.append(process->readAll().left(quotedOutput - outcome->output.size()));
    };
    connect(process, &QProcess::readyRead, process, keepStart);
    const auto end = [this, process](const QString &message) {
        --m_running;
        process->disconnect(this);
        process->deleteLater();
        if (!message.isEmpty())
            Q_EMIT failed(message);
    };
    auto *limit = new QTimer(process);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, process, [process, outcome] {
        outcome->timedOut = true;
        process->kill();
    });
    connect(process, &QProcess::finished, this,
            [this, program, limit, outcome, keepStart, end](int exitCode, QProcess::ExitStatus status) {
                limit->stop();
                keepStart();
                const QString text = QString::fromLocal8Bit(outcome->output).simplified();
                const QString shown = text.isEmpty() ? tr("(no output)") : text;
                if (outcome->timedOut)
                    end(tr("Alert command %1 was stopped after %2 s. Output: %3")
                            .arg(program, QString::number(double(m_timeLimit.count()) / 1000.0), shown));
                else if (status == QProcess::CrashExit)
                    end(tr("Alert command %1 crashed. Output: %2").arg(program, shown));
                else if (exitCode != 0)
                    end(tr("Alert command %1 ended with exit status %2. Output: %3")
                            .arg(program, QString::number(exitCode), shown));
                else
                    end({});
            });
    connect(process, &QProcess::errorOccurred, this, [process, program, end](QProcess::ProcessError error) {
        // A command that never started gives no finished().
        if (error == QProcess::FailedToStart)
            end(tr("Alert command %1 could not start: %2").arg(program, process->errorString()));
    });
    limit->start(m_timeLimit);
    process->start();
}

void AlertCommands::follow(MonitoringSession &session)
{
    connect(&session, &MonitoringSession::ticked, this,
            [this, &session, rules = AlertRules(session.settings().alerts)](const SessionTick &tick) mutable {
                const AlertReading reading = alertReading(tick);
                for (const Alert &alert : rules.tick(reading))
                    run(session.settings().alerts, alert, reading);
            });
}

void AlertCommands::waitForRunning()
{
    // Each command ends by itself or at its time limit; the limit's timer needs the events.
    while (m_running > 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
