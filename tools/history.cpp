#include "history.h"

#include "arguments.h"

#include "history/historystore.h"
#include "settings/filelocations.h"

#include <QCoreApplication>
#include <QDateTime>

#include <ctime>
#include <string>

namespace {

std::optional<int64_t> parseLocalDate(const QString &text, bool end)
{
    for (const QString &format : {QStringLiteral("yyyy-MM-dd'T'HH:mm"), QStringLiteral("yyyy-MM-dd HH:mm")}) {
        const QDateTime moment = QDateTime::fromString(text, format);
        if (moment.isValid())
            return moment.toSecsSinceEpoch();
    }
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        return std::nullopt;
    return (end ? day.addDays(1) : day).startOfDay().toSecsSinceEpoch();
}

// "2026-03-29T03:00:00+02:00": the offset tells the two 02:00 of an autumn night apart.
std::string localText(int64_t utc)
{
    const auto seconds = time_t(utc);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string result(text, length);
    if (result.size() >= 5)
        result.insert(result.size() - 2, 1, ':');
    return result;
}

const char *const kPeriodColumns[] = {"start", "download_bytes", "upload_bytes", "download_packets",
                                      "upload_packets", "level_bytes", "cutoff_limit_bytes",
                                      "throttle_limit_bytes", "worst_restriction", "dropped_frames"};
const char *const kHostColumns[] = {"host", "download_bytes"};

// One line of named fields, as CSV or as a JSON object; texts are quoted in JSON only (none
// holds a comma or a quote).
class Line
{
public:
    Line(bool json, const char *const *names) : m_json(json), m_names(names) {}

    Line &text(const std::string &value) { return field(m_json ? '"' + value + '"' : value); }
    Line &number(int64_t value) { return field(std::to_string(value)); }
    std::string end() { return (m_json ? m_text + '}' : m_text) + '\n'; }

private:
    Line &field(const std::string &value)
    {
        m_text += m_count == 0 ? (m_json ? "{" : "") : ",";
        if (m_json)
            m_text += '"' + std::string(m_names[m_count]) + "\":";
        m_text += value;
        ++m_count;
        return *this;
    }

    bool m_json;
    const char *const *m_names;
    std::string m_text;
    int m_count = 0;
};

template<size_t N>
std::string header(const char *const (&names)[N])
{
    std::string text;
    for (size_t i = 0; i < N; ++i) {
        if (i != 0)
            text += ',';
        text += names[i];
    }
    text += '\n';
    return text;
}

} // namespace

std::variant<HistoryOptions, QString> parseHistoryOptions(const QStringList &arguments)
{
    HistoryOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--hosts") {
            options.hosts = true;
            continue;
        }
        if (argument == u"--json") {
            options.json = true;
            continue;
        }
        if (argument != u"--db" && argument != u"--by" && argument != u"--from" && argument != u"--to")
            return QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument);
        if (const auto missing = valueMissing(arguments, i))
            return *missing;
        const QString &value = arguments[++i];
        if (argument == u"--db") {
            options.databaseFile = value;
        } else if (argument == u"--by") {
            if (value == u"minute")
                options.granularity = HistoryGranularity::Minute;
            else if (value == u"hour")
                options.granularity = HistoryGranularity::Hour;
            else if (value == u"day")
                options.granularity = HistoryGranularity::Day;
            else
                return QCoreApplication::translate("tarvo-cli", "--by takes minute, hour or day, not \"%1\"").arg(value);
        } else {
            const bool end = argument == u"--to";
            const auto moment = parseLocalDate(value, end);
            if (!moment)
                return QCoreApplication::translate("tarvo-cli", "%1 takes YYYY-MM-DD or YYYY-MM-DDTHH:MM, not \"%2\"").arg(argument, value);
            (end ? options.toUtc : options.fromUtc) = *moment;
        }
    }
    return options;
}

int runHistory(const HistoryOptions &options, std::FILE *out)
{
    const QString path =
        options.databaseFile.isEmpty() ? FileLocations::forThisProgram().historyFile() : options.databaseFile;
    const HistoryStore store(path, HistoryStore::Mode::Read);
    if (!store.isOpen()) {
        std::fprintf(stderr, "tarvo-cli: %s\n", store.error().toLocal8Bit().constData());
        return 2;
    }
    std::string text;
    if (options.hosts) {
        if (!options.json)
            text += header(kHostColumns);
        for (const HostUsage &host : store.hosts(options.fromUtc, options.toUtc))
            text += Line(options.json, kHostColumns).text(host.address.toString().toStdString()).number(host.downloadBytes).end();
    } else {
        if (!options.json)
            text += header(kPeriodColumns);
        for (const UsagePeriod &period : store.periods(options.granularity, options.fromUtc, options.toUtc)) {
            text += Line(options.json, kPeriodColumns)
                        .text(localText(period.startUtc))
                        .number(period.downloadBytes)
                        .number(period.uploadBytes)
                        .number(period.downloadPackets)
                        .number(period.uploadPackets)
                        .number(period.levelBytes)
                        .number(period.limitBytes)
                        .number(period.throttleLimitBytes)
                        .text(restrictionText(period.worstRestriction).toStdString())
                        .number(period.droppedFrames)
                        .end();
        }
    }
    std::fwrite(text.data(), 1, text.size(), out);
    return 0;
}
