#include "watch.h"

#include "arguments.h"
#include "csvline.h"
#include "replay.h"
#include "watchreport.h"

#include "history/historywriter.h"
#include "session/alertcommands.h"
#include "session/monitoringsession.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>

namespace {

constexpr long kSecondNs = 1'000'000'000;

volatile std::sig_atomic_t stopSignal = 0;
// Written by the stop signals and a failed open, read by the wait between ticks: the wait sleeps
// to the next tick and wakes at once for either, without waking in between to look for them.
int wakeFd = -1;

void wake() noexcept
{
    const int saved = errno;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(wakeFd, &one, sizeof one);
    errno = saved;
}

void onStopSignal(int)
{
    stopSignal = 1;
    wake();
}

void catchStopSignals()
{
    struct sigaction action{};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int64_t monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * kSecondNs + now.tv_nsec;
}

// A message of the capture thread, on one line of standard error.
void printMessage(const QString &message)
{
    const QString line = QString(message).replace(u'\n', QStringLiteral(": "));
    const QByteArray text = QStringLiteral("tarvo-cli: %1\n").arg(line).toLocal8Bit();
    std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
}

} // namespace

std::variant<WatchOptions, QString> parseWatchOptions(const QStringList &arguments)
{
    WatchOptions options;
    TakenValue last;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool takesValue = argument == u"--ini" || argument == u"--seconds" || argument == u"--history"
                                || isReportOption(argument);
        if (takesValue) {
            if (const auto missing = valueMissing(arguments, i))
                return *missing;
            last = {argument, arguments[i + 1]};
        }
        if (argument == u"--ini") {
            options.settingsFile = arguments[++i];
        } else if (argument == u"--history") {
            options.historyFile = arguments[++i];
        } else if (argument == u"--seconds") {
            bool ok = false;
            options.seconds = arguments[++i].toInt(&ok);
            if (!ok || options.seconds <= 0)
                return QCoreApplication::translate("tarvo-cli", "--seconds needs a whole number of seconds above 0, not \"%1\"")
                    .arg(arguments[i]);
        } else if (isReportOption(argument)) {
            if (const auto error = takeReportOption(options, argument, arguments[++i]))
                return *error;
        } else if (argument == u"--alerts") {
            options.alerts = true;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument);
        } else if (!options.device.isEmpty()) {
            return QCoreApplication::translate("tarvo-cli", "more than one interface: %1 and %2").arg(options.device, argument);
        } else {
            options.device = argument;
        }
    }
    if (options.device.isEmpty())
        return nothingGiven(QCoreApplication::translate("tarvo-cli", "no interface given"), last);
    return options;
}

int runWatch(const WatchOptions &options)
{
    MonitoringSession session;
    FapState fap;
    if (!options.settingsFile.isEmpty()) {
        if (auto error = readReplaySettings(options.settingsFile, session.settings(), fap)) {
            printMessage(*error);
            return 2;
        }
    }
    // As the program starts: the saved bucket, drained by the recharge of the time since it was saved.
    session.resume(fap, QDateTime::currentDateTime());

    WatchReport report(options, session);
    if (const auto error = report.start()) {
        printMessage(*error);
        return 2;
    }
    // The writes are at most one a minute: they run between the ticks, on this thread.
    std::optional<HistoryWriter> history;
    if (!options.historyFile.isEmpty()) {
        history.emplace(options.historyFile);
        QObject::connect(&*history, &HistoryWriter::message, printMessage);
        history->open();
    }
    // The minutes also carry each host's download, which the metrics show.
    if (history || !options.metricsFile.isEmpty()) {
        session.setHistorySink([&history, &report](const FinishedMinute &minute) {
            report.addMinute(minute);
            if (history)
                history->write(minute);
        });
    }

    // The alerts' commands run beside the ticks; their failures go to standard error.
    AlertCommands alertCommands;
    QObject::connect(&alertCommands, &AlertCommands::failed, printMessage);
    if (options.alerts)
        alertCommands.follow(session);

    wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    catchStopSignals();
    std::mutex failureMutex;
    QString failure;
    QObject::connect(&session, &MonitoringSession::captureOpenFailed, &session, [&](const QString &message) {
        {
            std::lock_guard lock(failureMutex);
            failure = message;
        }
        wake();
    }, Qt::DirectConnection);
    QObject::connect(&session, &MonitoringSession::captureStopped, &session, printMessage, Qt::DirectConnection);
    QObject::connect(&session, &MonitoringSession::captureResumed, &session, printMessage, Qt::DirectConnection);
    const auto openFailure = [&] {
        std::lock_guard lock(failureMutex);
        return failure;
    };
    // Only this machine's own flows have programs here; a router's forwarded ones count per host.
    session.setProgramAttribution(std::make_unique<ProgramAttribution>());
    session.startCapture(options.device.toLocal8Bit());

    int64_t number = 0;
    std::tm local{};
    QObject::connect(&session, &MonitoringSession::ticked, &session,
                     [&](const SessionTick &figures) { report.ticked(figures, number, local); });
    const auto tick = [&] {
        const std::time_t now = std::time(nullptr);
        local = localTime(now);
        session.tick(QDateTime::fromSecsSinceEpoch(now));
    };

    // One tick a second of the monotonic clock; a signal or a failed open ends the wait at once.
    const int64_t start = monotonicNs();
    for (number = 1;; ++number) {
        const int64_t due = start + number * kSecondNs;
        bool last = options.seconds > 0 && number >= options.seconds;
        for (int64_t now = monotonicNs(); now < due; now = monotonicNs()) {
            if (stopSignal || session.captureEnded() || !openFailure().isEmpty())
                break;
            report.wait(due - now, wakeFd);
        }
        if (const QString message = openFailure(); !message.isEmpty()) {
            session.stopCapture();
            printMessage(message);
            return 2;
        }
        last = last || stopSignal;
        if (last) {
            // The library hands frames over in blocks at most one read timeout old: after that
            // wait, every frame the adapter received before the end is counted in the last line.
            constexpr int64_t drainNs = int64_t(CaptureThread::readTimeoutMs + 100) * 1'000'000;
            const timespec drain{time_t(drainNs / kSecondNs), long(drainNs % kSecondNs)};
            nanosleep(&drain, nullptr);
            session.stopCapture();
            tick();
            session.finishHistory();
            report.finish();
            alertCommands.waitForRunning();
            return 0;
        }
        tick();
    }
}
