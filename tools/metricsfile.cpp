#include "metricsfile.h"

#include "meter/fapmeter.h"
#include "meter/statusfigures.h"
#include "meter/trafficcounters.h"
#include "meter/trafficstats.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace {

// A label's value with the three characters the format escapes.
QByteArray labelValue(const QString &value)
{
    QByteArray text = value.toUtf8();
    text.replace('\\', "\\\\").replace('"', "\\\"").replace('\n', "\\n");
    return '"' + text + '"';
}

class MetricsText
{
public:
    explicit MetricsText(const QString &device)
        : m_device("interface=" + labelValue(device))
    {
    }

    // The HELP and TYPE lines of a metric; its samples follow.
    MetricsText &metric(const char *name, const char *type, const char *help)
    {
        m_name = name;
        m_text += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
        return *this;
    }

    // A sample of the last metric, with a label besides the adapter's when `label` is given.
    MetricsText &sample(double value, const char *label = nullptr, const QString &labelText = {})
    {
        m_text += m_name + '{' + m_device;
        if (label)
            m_text += ',' + QByteArray(label) + '=' + labelValue(labelText);
        m_text += "} " + QByteArray::number(value, 'g', 17) + '\n';
        return *this;
    }

    const QByteArray &text() const { return m_text; }

private:
    QByteArray m_device;
    QByteArray m_name;
    QByteArray m_text;
};

} // namespace

QByteArray metricsText(const MetricsFigures &figures)
{
    const FapMeter &meter = figures.meter;
    const TrafficCounters &counters = figures.counters;
    MetricsText text(figures.device);
    text.metric("tarvo_bucket_bytes", "gauge", "Bytes in the provider's bucket: downloads fill it, the recharge drains it.")
        .sample(meter.usedBytes());
    text.metric("tarvo_limit_bytes", "gauge", "The cut-off limit in force: near it the provider cuts the link off.")
        .sample(meter.activeLimit());
    text.metric("tarvo_throttle_limit_bytes", "gauge", "Above this bucket level the provider slows the link down.")
        .sample(meter.parameters().throttleLimit);
    text.metric("tarvo_recharge_bytes_per_second", "gauge", "The rate at which the bucket drains.")
        .sample(meter.parameters().rechargeRate);
    text.metric("tarvo_remaining_bytes", "gauge", "The allowance left under the limit in force.").sample(double(meter.remaining()));
    text.metric("tarvo_to_throttle_bytes", "gauge", "Bytes to download before the link is throttled.")
        .sample(double(meter.bytesToThrottle()));
    text.metric("tarvo_restriction", "gauge", "The provider's restriction: 1 for the one in force, 0 for the others.");
    for (const Restriction restriction : {Restriction::None, Restriction::Throttled, Restriction::CutOff})
        text.sample(meter.restriction() == restriction ? 1 : 0, "restriction", restrictionKey(restriction));
    text.metric("tarvo_to_throttle_seconds", "gauge", "Seconds until the link is throttled at the present rate; none without an estimate.");
    if (const auto seconds = meter.secondsToThrottle())
        text.sample(double(*seconds));
    text.metric("tarvo_to_cut_off_seconds", "gauge", "Seconds until the link is cut off at the present rate; none without an estimate.");
    if (const auto seconds = meter.secondsToCutOff())
        text.sample(double(*seconds));
    text.metric("tarvo_download_bytes_per_second", "gauge", "The download speed of the last second.")
        .sample(figures.stats.instantDownload);
    text.metric("tarvo_upload_bytes_per_second", "gauge", "The upload speed of the last second.")
        .sample(figures.stats.instantUpload);
    text.metric("tarvo_download_bytes_total", "counter", "Bytes downloaded since the start.")
        .sample(double(counters.downloadedTotal.load()));
    text.metric("tarvo_upload_bytes_total", "counter", "Bytes uploaded since the start.")
        .sample(double(counters.uploadedTotal.load()));
    text.metric("tarvo_download_packets_total", "counter", "Packets received since the start.")
        .sample(double(counters.downloadPackets.load()));
    text.metric("tarvo_upload_packets_total", "counter", "Packets sent since the start.")
        .sample(double(counters.uploadPackets.load()));
    text.metric("tarvo_captured_frames_total", "counter", "Frames the capture handed to the program.")
        .sample(double(figures.capture.captured));
    text.metric("tarvo_dropped_frames_total", "counter", "Frames lost because the program did not keep up.")
        .sample(double(figures.capture.dropped));
    text.metric("tarvo_host_download_bytes_total", "counter",
                "Bytes each LAN host downloaded since the start, up to the last finished minute.");
    for (const auto &[host, bytes] : figures.hostDownloads)
        text.sample(double(bytes), "host", host);
    return text.text();
}

std::optional<QString> replaceFile(const QString &path, const QByteArray &text)
{
    QSaveFile file(path);
    // Never the file itself, even where a temporary file cannot be made beside it.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return QCoreApplication::translate("tarvo-cli", "cannot write the metrics file %1: %2").arg(path, file.errorString());
    return std::nullopt;
}
