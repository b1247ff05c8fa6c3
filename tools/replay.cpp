#include "replay.h"

#include "arguments.h"
#include "csvline.h"

#include "capture/classifier.h"
#include "meter/fapmeter.h"
#include "meter/metertick.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"
#include "settings/addressset.h"
#include "settings/appsettings.h"
#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QFile>

#include <pcap/pcap.h>
#include <stdio_ext.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

// A classic capture file keeps the seconds in 32 bits, which the library hands over sign-extended:
// from 2038 on they would read as 1901. No capture predates 1970, so a negative count is such a time.
int64_t captureSecond(const timeval &stamp)
{
    const auto second = int64_t(stamp.tv_sec);
    return second < 0 && second >= INT32_MIN ? second + (int64_t(1) << 32) : second;
}

void addAddresses(const QStringList &extra, LiveAddressList &list)
{
    for (const QString &address : extra)
        list.append(address);
}

// One replay: the same state the program keeps, driven by the capture's clock.
class Replay
{
public:
    explicit Replay(std::FILE *out) : m_context{m_settings, m_counters, m_meter}, m_out(out) {}

    std::optional<QString> prepare(const ReplayOptions &options)
    {
        FapState fap;
        if (!options.settingsFile.isEmpty()) {
            if (auto error = readReplaySettings(options.settingsFile, m_settings, fap))
                return error;
        }
        addAddresses(options.lanAddresses, m_settings.lanAddresses);
        addAddresses(options.ignoredAddresses, m_settings.ignoredAddresses);
        m_context.mtu = options.mtu;
        if (options.no192)
            m_settings.useAll192168 = false;
        m_meter.applySettings(m_settings.fap, options.usedBytes.value_or(fap.usedBytes));
        m_longestSpan = options.longestSpanSeconds;
        return std::nullopt;
    }

    // The header line, before the first tick.
    bool start() { return write(csvHeader) && write("\n"); }

    void setLink(LinkLayout link) { m_context.link = link; }

    // Every tick due at or before the frame's second comes first; a tick is taken to last one second.
    std::optional<QString> frame(const pcap_pkthdr *header, const u_char *bytes)
    {
        const int64_t second = captureSecond(header->ts);
        if (!m_nextTick) {
            m_firstSecond = second;
            m_nextTick = second + 1;
        }
        // A broken timestamp must not turn into years of one-second lines.
        if (second - m_firstSecond > m_longestSpan)
            return QCoreApplication::translate("tarvo-cli", "frame %1 lies more than %2 days after the first one; a replay covers at most that")
                .arg(m_frames + 1)
                .arg(m_longestSpan / 86400);
        while (*m_nextTick <= second) {
            if (!tick())
                return cannotWrite();
        }
        classifyFrame(reinterpret_cast<u_char *>(&m_context), header, bytes);
        ++m_frames;
        return std::nullopt;
    }

    // After the last frame, the next due tick runs and the replay ends.
    std::optional<QString> finish()
    {
        if ((m_nextTick && !tick()) || std::fflush(m_out) != 0)
            return cannotWrite();
        return std::nullopt;
    }

    static QString cannotWrite() { return QCoreApplication::translate("tarvo-cli", "cannot write to standard output"); }

private:
    bool write(std::string_view text) { return std::fwrite(text.data(), 1, text.size(), m_out) == text.size(); }

    bool tick()
    {
        m_context.flush();
        const std::tm local = localTime(*m_nextTick);
        const TrafficCounters::Tick taken = runMeterTick(oleDateOf(local), m_counters, m_meter, m_stats);
        ++m_ticks;
        ++*m_nextTick;

        m_line.clear();
        m_line.tick({m_ticks, local, taken, m_meter, m_stats, m_counters});
        return write(m_line.text()) && write("\n");
    }

    AppSettings m_settings;
    TrafficCounters m_counters;
    FapMeter m_meter;
    TrafficStats m_stats;
    CaptureContext m_context;
    int64_t m_longestSpan = 0;

    int64_t m_firstSecond = 0;
    std::optional<int64_t> m_nextTick; // epoch second of the next tick; none before the first frame
    int64_t m_frames = 0;
    int64_t m_ticks = 0;
    std::FILE *m_out;
    CsvLine m_line;
};

struct PcapCloser
{
    void operator()(pcap_t *capture) const { pcap_close(capture); }
};

constexpr size_t kReadBufferBytes = 1 << 20;

// The replay as the capture loop's user argument; the first fault stops the loop.
struct ReplayLoop
{
    Replay &replay;
    pcap_t *capture;
    std::optional<QString> error;

    static void frame(u_char *user, const pcap_pkthdr *header, const u_char *bytes)
    {
        auto &loop = *reinterpret_cast<ReplayLoop *>(user);
        if ((loop.error = loop.replay.frame(header, bytes)))
            pcap_breakloop(loop.capture);
    }
};

} // namespace

std::variant<ReplayOptions, QString> parseReplayOptions(const QStringList &arguments)
{
    ReplayOptions options;
    TakenValue last;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const bool takesValue = argument == u"--ini" || argument == u"--used" || argument == u"--lan"
                                || argument == u"--ignore" || argument == u"--mtu";
        if (takesValue) {
            if (const auto missing = valueMissing(arguments, i))
                return *missing;
            last = {argument, arguments[i + 1]};
        }
        if (argument == u"--ini") {
            options.settingsFile = arguments[++i];
        } else if (argument == u"--used") {
            bool ok = false;
            const int32_t used = arguments[++i].toInt(&ok);
            if (!ok)
                return QCoreApplication::translate("tarvo-cli", "--used needs a whole number of bytes from -2147483648 to 2147483647, not \"%1\"")
                    .arg(arguments[i]);
            options.usedBytes = used;
        } else if (argument == u"--lan" || argument == u"--ignore") {
            const QString &address = arguments[++i];
            if (!isAddressEntry(address))
                return QCoreApplication::translate("tarvo-cli", "%1 needs an IPv4 address in dotted-decimal form or an IPv6 address or network, "
                                      "not \"%2\"")
                    .arg(argument, address);
            (argument == u"--lan" ? options.lanAddresses : options.ignoredAddresses).append(address);
        } else if (argument == u"--mtu") {
            bool ok = false;
            const uint32_t mtu = arguments[++i].toUInt(&ok);
            if (!ok || mtu > ReplayOptions::largestMtu)
                return QCoreApplication::translate("tarvo-cli", "--mtu needs a whole number of bytes from 0 to %1, not \"%2\"")
                    .arg(ReplayOptions::largestMtu)
                    .arg(arguments[i]);
            options.mtu = mtu;
        } else if (argument == u"--no-192") {
            options.no192 = true;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            return QCoreApplication::translate("tarvo-cli", "unknown option %1").arg(argument);
        } else if (!options.capturePath.isEmpty()) {
            return QCoreApplication::translate("tarvo-cli", "more than one capture file: %1 and %2").arg(options.capturePath, argument);
        } else {
            options.capturePath = argument;
        }
    }
    if (options.capturePath.isEmpty())
        return nothingGiven(QCoreApplication::translate("tarvo-cli", "no capture file given"), last);
    return options;
}

std::optional<QString> readReplaySettings(const QString &path, AppSettings &settings, FapState &fap)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("tarvo-cli", "cannot read settings file %1: %2").arg(path, file.errorString());
    // Read in bounded steps: a device such as /dev/zero never ends and reports no size.
    const QByteArray bytes = file.read(IniDocument::maxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return QCoreApplication::translate("tarvo-cli", "cannot read settings file %1: %2").arg(path, file.errorString());
    if (bytes.size() > IniDocument::maxFileSize)
        return QCoreApplication::translate("tarvo-cli", "settings file %1 is larger than %2 bytes").arg(path).arg(IniDocument::maxFileSize);
    const IniDocument ini = IniDocument::fromBytes(bytes);
    loadSettings(ini, settings);
    fap = loadFapState(ini);
    return std::nullopt;
}

std::optional<QString> runReplay(const ReplayOptions &options, std::FILE *out)
{
    Replay replay(out);
    if (auto error = replay.prepare(options))
        return *error;

    // The library reads a record in two small reads. A large buffer makes them copies instead of
    // a system call every few kilobytes; it must outlive the file, which pcap_close closes. Only
    // this thread reads the file, so the reads take no lock (they would once any thread has run).
    const std::unique_ptr<char[]> readBuffer(new char[kReadBufferBytes]);
    // "-" is standard input, as the library takes it.
    const bool standardInput = options.capturePath == u"-";
    std::FILE *file = standardInput ? stdin : std::fopen(QFile::encodeName(options.capturePath).constData(), "rb");
    if (!file)
        return QCoreApplication::translate("tarvo-cli", "cannot read capture file %1")
            .arg(QStringLiteral("%1: %2").arg(options.capturePath, QString::fromLocal8Bit(std::strerror(errno))));
    if (!standardInput) { // standard input outlives the buffer
        std::setvbuf(file, readBuffer.get(), _IOFBF, kReadBufferBytes);
        __fsetlocking(file, FSETLOCKING_BYCALLER);
    }
    char message[PCAP_ERRBUF_SIZE] = {};
    const std::unique_ptr<pcap_t, PcapCloser> capture(pcap_fopen_offline(file, message));
    if (!capture) {
        if (!standardInput)
            std::fclose(file);
        return QCoreApplication::translate("tarvo-cli", "cannot read capture file %1")
            .arg(QStringLiteral("%1: %2").arg(options.capturePath, QString::fromLocal8Bit(message)));
    }
    const int linkType = pcap_datalink(capture.get());
    const std::optional<LinkLayout> link = linkLayoutFor(linkType);
    if (!link)
        return QCoreApplication::translate("tarvo-cli", "%1 carries frames of type %2, which Tarvo cannot read")
            .arg(options.capturePath, linkTypeName(linkType));
    replay.setLink(*link);
    if (!replay.start())
        return Replay::cannotWrite();

    // The library's own loop hands each record over without the per-record call of pcap_next_ex.
    ReplayLoop loop{replay, capture.get(), std::nullopt};
    const int status = pcap_loop(capture.get(), 0, ReplayLoop::frame, reinterpret_cast<u_char *>(&loop));
    if (loop.error)
        return QStringLiteral("%1: %2").arg(options.capturePath, *loop.error);
    if (status != 0)
        return QCoreApplication::translate("tarvo-cli", "cannot read capture file %1: %2")
            .arg(options.capturePath, QString::fromLocal8Bit(pcap_geterr(capture.get())));
    return replay.finish();
}
