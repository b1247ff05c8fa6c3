#include "watchreport.h"

#include "metricsfile.h"

#include "history/minuteaccumulator.h"
#include "platform/instancesocket.h"
#include "platform/requestlistener.h"
#include "session/monitoringsession.h"
#include "session/sessionstatus.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void printError(const QString &message)
{
    std::fprintf(stderr, "tarvo-cli: %s\n", message.toLocal8Bit().constData());
}

} // namespace

bool isReportOption(const QString &argument)
{
    return argument == u"--every" || argument == u"--status-socket" || argument == u"--metrics-file";
}

std::optional<QString> takeReportOption(WatchOptions &options, const QString &option, const QString &value)
{
    if (option == u"--status-socket") {
        options.statusSocket = value;
    } else if (option == u"--metrics-file") {
        options.metricsFile = value;
    } else {
        bool ok = false;
        options.every = value.toInt(&ok);
        if (!ok || options.every <= 0)
            return QCoreApplication::translate("tarvo-cli", "--every needs a whole number of seconds above 0, not \"%1\"")
                .arg(value);
    }
    return std::nullopt;
}

WatchReport::WatchReport(const WatchOptions &options, const MonitoringSession &session)
    : m_options(options)
    , m_session(session)
{
}

WatchReport::~WatchReport() = default;

std::optional<QString> WatchReport::start()
{
    if (m_options.statusSocket.isEmpty())
        return std::nullopt;
    // A socket a killed watch left behind is replaced; any other file stays.
    struct stat status{};
    if (::lstat(QFile::encodeName(m_options.statusSocket).constData(), &status) == 0 && !S_ISSOCK(status.st_mode))
        return QCoreApplication::translate("tarvo-cli", "%1 is there already and is no socket").arg(m_options.statusSocket);
    m_statusListener = std::make_unique<RequestListener>([this](const QByteArray &request) {
        return InstanceSocket::answerStatusRequest(request, [this] { return sessionStatusJson(m_session); });
    });
    if (!m_statusListener->listen(m_options.statusSocket))
        return QCoreApplication::translate("tarvo-cli", "cannot listen on the status socket %1").arg(m_options.statusSocket);
    return std::nullopt;
}

void WatchReport::addMinute(const FinishedMinute &minute)
{
    for (const HostUsage &host : minute.hosts)
        m_hostDownloads[host.address.toString()] += host.downloadBytes;
}

void WatchReport::ticked(const SessionTick &tick, int64_t number, const std::tm &local)
{
    m_counts += tick.taken;
    m_number = number;
    m_local = local;
    m_capture = tick.capture;
    if (number % m_options.every == 0)
        report();
}

void WatchReport::finish()
{
    // Owed a line, or the metrics owe the last minute's hosts.
    if (m_number > m_reported || !m_options.metricsFile.isEmpty())
        report();
}

void WatchReport::report()
{
    // The metrics first: once a line is out, the file shows its moment.
    if (!m_options.metricsFile.isEmpty()) {
        const MetricsFigures figures{m_options.device,     m_session.meter(), m_session.stats(),
                                     m_session.counters(), m_capture,         m_hostDownloads};
        if (const auto error = replaceFile(m_options.metricsFile, metricsText(figures)))
            printError(*error);
    }
    if (m_number == m_reported)
        return;
    // The header waits for the first line, so a failed open prints nothing on standard output.
    QByteArray text = m_reported == 0 ? QByteArray(csvHeader) + ",captured,dropped\n" : QByteArray();
    m_line.clear();
    m_line.tick({m_number, m_local, m_counts, m_session.meter(), m_session.stats(), m_session.counters()})
        << int64_t(m_capture.captured) << int64_t(m_capture.dropped);
    text += QByteArray::fromStdString(m_line.text()) + '\n';
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    std::fflush(stdout);
    m_counts = {};
    m_reported = m_number;
}

void WatchReport::wait(int64_t nanoseconds, int wakeFd)
{
    QEventLoop loop;
    const std::chrono::milliseconds wait((nanoseconds + 999'999) / 1'000'000);
    QTimer::singleShot(wait, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    std::optional<QSocketNotifier> woken;
    if (wakeFd >= 0) {
        woken.emplace(wakeFd, QSocketNotifier::Read);
        QObject::connect(&*woken, &QSocketNotifier::activated, &loop, [&loop, wakeFd] {
            uint64_t count;
            [[maybe_unused]] const ssize_t read = ::read(wakeFd, &count, sizeof count);
            loop.quit();
        });
    }
    loop.exec();
}
