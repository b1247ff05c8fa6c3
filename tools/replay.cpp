#include "replay.h"

#include "capture/classifier.h"
#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/metertick.h"
#include "meter/oledate.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"
#include "settings/addressset.h"
#include "settings/appsettings.h"
#include "settings/settingsfile.h"

#include <QDateTime>
#include <QFile>

#include <pcap/pcap.h>

#include <cmath>
#include <memory>

namespace {

const char csvHeader[] =
    "tick,time,down,up,packets,used,limit,restriction,remaining,level_percent,bytes_to_throttle,"
    "bytes_to_cutoff,full_recovery,time_to_throttle,time_to_cutoff,trend,avg_down,inst_down,avg_up,"
    "inst_up,downloaded_total,uploaded_total,packets_received,packets_sent,mean_packet_size\n";

// A fraction in plain decimal notation (no exponent, no grouping) with at least `significant`
// significant digits, so the stored value can be read back exactly.
QString plainDecimal(double value, int significant)
{
    if (value == 0.0 || !std::isfinite(value))
        return QString::number(value);
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    QString text = QString::number(value, 'f', std::max(0, significant - 1 - magnitude));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

QString singlePrecision(float value)
{
    return plainDecimal(value, 9);
}

QString trendText(LevelTrend trend)
{
    switch (trend) {
    case LevelTrend::Rising:
        return QStringLiteral("rising");
    case LevelTrend::Falling:
        return QStringLiteral("falling");
    case LevelTrend::Steady:
        break;
    }
    return QStringLiteral("steady");
}

std::optional<QString> addAddresses(const QStringList &extra, LiveAddressList &list)
{
    for (const QString &address : extra) {
        if (!parseCanonicalAddress(address))
            return QStringLiteral("not an IPv4 address in dotted-decimal form: %1").arg(address);
        list.append(address);
    }
    return std::nullopt;
}

// One replay: the same state the program keeps, driven by the capture's clock.
class Replay
{
public:
    Replay() : m_context{m_settings, m_counters, m_meter} { m_output = csvHeader; }

    std::optional<QString> prepare(const ReplayOptions &options)
    {
        int32_t fapBytes = 0;
        if (!options.settingsFile.isEmpty()) {
            if (auto error = readReplaySettings(options.settingsFile, m_settings, fapBytes))
                return error;
        }
        if (auto error = addAddresses(options.lanAddresses, m_settings.lanAddresses))
            return error;
        if (auto error = addAddresses(options.ignoredAddresses, m_settings.ignoredAddresses))
            return error;
        if (options.no192)
            m_settings.useAll192168 = false;
        m_meter.applySettings(m_settings.fap, options.usedBytes.value_or(fapBytes));
        return std::nullopt;
    }

    // Every tick due at or before the frame's second comes first; a tick is taken to last one second.
    std::optional<QString> frame(const pcap_pkthdr *header, const u_char *bytes)
    {
        const int64_t second = header->ts.tv_sec;
        if (!m_nextTick) {
            m_firstSecond = second;
            m_nextTick = second + 1;
        }
        // A broken timestamp must not turn into years of one-second lines.
        if (second - m_firstSecond > kLongestSpan)
            return QStringLiteral("frame %1 lies more than %2 days after the first one; a replay covers at most that")
                .arg(m_frames + 1)
                .arg(kLongestSpan / 86400);
        while (*m_nextTick <= second)
            tick();
        classifyFrame(reinterpret_cast<u_char *>(&m_context), header, bytes);
        ++m_frames;
        return std::nullopt;
    }

    void setLink(LinkLayout link) { m_context.link = link; }

    // After the last frame, the next due tick runs and the replay ends.
    QByteArray finish()
    {
        if (m_nextTick)
            tick();
        return m_output;
    }

private:
    void tick()
    {
        const QDateTime moment = QDateTime::fromSecsSinceEpoch(*m_nextTick, Qt::LocalTime);
        const TrafficCounters::Tick taken = runMeterTick(oleDate(moment), m_counters, m_meter, m_stats);
        ++m_ticks;
        ++*m_nextTick;

        const QStringList fields{
            QString::number(m_ticks),
            moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")),
            QString::number(taken.downloadBytes),
            QString::number(taken.uploadBytes),
            QString::number(taken.packets),
            QString::number(m_meter.usedBytes()),
            QString::number(m_meter.activeLimit()),
            restrictionText(m_meter.restriction()),
            QString::number(m_meter.remaining()),
            QString::number(m_meter.levelPercent()),
            QString::number(m_meter.bytesToThrottle()),
            plainDecimal(m_meter.bytesToCutOff(), 17),
            formatDuration(m_meter.fullRecoverySeconds()),
            formatDuration(m_meter.secondsToThrottle()),
            formatDuration(m_meter.secondsToCutOff()),
            trendText(m_meter.trend()),
            singlePrecision(m_stats.averageDownload),
            QString::number(m_stats.instantDownload),
            singlePrecision(m_stats.averageUpload),
            singlePrecision(m_stats.instantUpload),
            QString::number(m_counters.downloadedTotal.load()),
            QString::number(m_counters.uploadedTotal.load()),
            QString::number(m_counters.downloadPackets.load()),
            QString::number(m_counters.uploadPackets.load()),
            singlePrecision(m_counters.meanPacketSize.load()),
        };
        m_output += fields.join(u',').toUtf8();
        m_output += '\n';
    }

    AppSettings m_settings;
    TrafficCounters m_counters;
    FapMeter m_meter;
    TrafficStats m_stats;
    CaptureContext m_context;
    static constexpr int64_t kLongestSpan = 31 * 86400;

    int64_t m_firstSecond = 0;
    std::optional<int64_t> m_nextTick; // epoch second of the next tick; none before the first frame
    int64_t m_frames = 0;
    int64_t m_ticks = 0;
    QByteArray m_output;
};

struct PcapCloser
{
    void operator()(pcap_t *capture) const { pcap_close(capture); }
};

} // namespace

std::variant<ReplayOptions, QString> parseReplayOptions(const QStringList &arguments)
{
    ReplayOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool takesValue = argument == u"--ini" || argument == u"--used" || argument == u"--lan"
                                || argument == u"--ignore";
        if (takesValue && i + 1 >= arguments.size())
            return QStringLiteral("option %1 needs a value").arg(argument);
        if (argument == u"--ini") {
            options.settingsFile = arguments[++i];
        } else if (argument == u"--used") {
            bool ok = false;
            const int32_t used = arguments[++i].toInt(&ok);
            if (!ok)
                return QStringLiteral("--used needs a whole number of bytes from -2147483648 to 2147483647, not \"%1\"")
                    .arg(arguments[i]);
            options.usedBytes = used;
        } else if (argument == u"--lan") {
            options.lanAddresses.append(arguments[++i]);
        } else if (argument == u"--ignore") {
            options.ignoredAddresses.append(arguments[++i]);
        } else if (argument == u"--no-192") {
            options.no192 = true;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return QStringLiteral("unknown option %1").arg(argument);
        } else if (!options.capturePath.isEmpty()) {
            return QStringLiteral("more than one capture file: %1 and %2").arg(options.capturePath, argument);
        } else {
            options.capturePath = argument;
        }
    }
    if (options.capturePath.isEmpty())
        return QStringLiteral("no capture file given");
    return options;
}

std::optional<QString> readReplaySettings(const QString &path, AppSettings &settings, int32_t &fapBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read settings file %1: %2").arg(path, file.errorString());
    const IniDocument ini = IniDocument::fromBytes(file.readAll());
    loadSettings(ini, settings);
    fapBytes = loadFapState(ini).usedBytes;
    return std::nullopt;
}

std::variant<QByteArray, QString> runReplay(const ReplayOptions &options)
{
    Replay replay;
    if (auto error = replay.prepare(options))
        return *error;

    char message[PCAP_ERRBUF_SIZE] = {};
    const std::unique_ptr<pcap_t, PcapCloser> capture(
        pcap_open_offline(QFile::encodeName(options.capturePath).constData(), message));
    if (!capture) {
        // libpcap names the file itself when the system refused to open it.
        const QString reason = QString::fromLocal8Bit(message);
        return QStringLiteral("cannot read capture file ")
               + (reason.startsWith(options.capturePath) ? reason
                                                         : QStringLiteral("%1: %2").arg(options.capturePath, reason));
    }
    const int linkType = pcap_datalink(capture.get());
    const std::optional<LinkLayout> link = linkLayoutFor(linkType);
    if (!link)
        return QStringLiteral("%1 carries frames of type %2, which Tarvo cannot read")
            .arg(options.capturePath, linkTypeName(linkType));
    replay.setLink(*link);

    pcap_pkthdr *header = nullptr;
    const u_char *bytes = nullptr;
    int status;
    while ((status = pcap_next_ex(capture.get(), &header, &bytes)) == 1) {
        if (auto error = replay.frame(header, bytes))
            return QStringLiteral("%1: %2").arg(options.capturePath, *error);
    }
    if (status != PCAP_ERROR_BREAK)
        return QStringLiteral("cannot read capture file %1: %2")
            .arg(options.capturePath, QString::fromLocal8Bit(pcap_geterr(capture.get())));
    return replay.finish();
}
