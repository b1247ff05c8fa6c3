#pragma once

#include "csvline.h"
#include "watch.h"

#include "capture/capturethread.h"

#include <QString>

#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <optional>

class MonitoringSession;
class RequestListener;
struct FinishedMinute;
struct SessionTick;

// --every, --status-socket and --metrics-file, the options of the report; each takes a value.
bool isReportOption(const QString &argument);
// The value of such an option into `options`; the message when it is no good.
std::optional<QString> takeReportOption(WatchOptions &options, const QString &option, const QString &value);

// What `watch` makes of its session's ticks, on the thread that ticks: the CSV line every
// --every seconds, with the counts of the ticks since the line before; the metrics file,
// replaced at each line; and the answers on the status socket.
class WatchReport
{
public:
    WatchReport(const WatchOptions &options, const MonitoringSession &session);
    ~WatchReport();

    // Listens on the status socket, when one is asked for; the message when it cannot.
    std::optional<QString> start();
    // A finished minute of the history: its hosts' downloads count in the metrics.
    void addMinute(const FinishedMinute &minute);
    // After the tick numbered `number` (from 1), run at `local`.
    void ticked(const SessionTick &tick, int64_t number, const std::tm &local);
    // After the last tick and the history's last minute: the line the ticks since the last one
    // are owed, and the metrics with every host.
    void finish();
    // Sleeps for `nanoseconds`, answering the status socket meanwhile; ends early, and empties
    // it, when the eventfd `wakeFd` is written (none when -1).
    void wait(int64_t nanoseconds, int wakeFd);

private:
    void report();

    const WatchOptions &m_options;
    const MonitoringSession &m_session;
    std::unique_ptr<RequestListener> m_statusListener;
    std::map<QString, int64_t> m_hostDownloads;
    CsvLine m_line;
    CsvCounts m_counts; // of the ticks since the last line
    int64_t m_number = 0;
    int64_t m_reported = 0; // the tick of the last line
    std::tm m_local{};
    CaptureStatistics m_capture;
};
