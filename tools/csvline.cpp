#include "csvline.h"

#include "meter/fapmeter.h"
#include "meter/formats.h"
#include "meter/trafficstats.h"

#include <QDate>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

const char csvHeader[] =
    "tick,time,down,up,packets,used,limit,restriction,remaining,level_percent,bytes_to_throttle,"
    "bytes_to_cutoff,full_recovery,time_to_throttle,time_to_cutoff,trend,avg_down,inst_down,avg_up,"
    "inst_up,downloaded_total,uploaded_total,packets_received,packets_sent,mean_packet_size";

namespace {
std::string_view trendText(LevelTrend trend)
{
    switch (trend) {
    case LevelTrend::Rising:
        return "rising";
    case LevelTrend::Falling:
        return "falling";
    case LevelTrend::Steady:
        break;
    }
    return "steady";
}
} // namespace

std::tm localTime(int64_t second)
{
    const auto moment = time_t(second);
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

double oleDateOf(const std::tm &local)
{
    static const qint64 oleEpochDay = QDate(1899, 12, 30).toJulianDay();
    return double(QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).toJulianDay() - oleEpochDay)
           + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

CsvLine &CsvLine::tick(const CsvTick &tick)
{
    const FapMeter &meter = tick.meter;
    const TrafficStats &stats = tick.stats;
    const TrafficCounters &counters = tick.counters;
    *this << tick.tick;
    time(tick.local) << tick.taken.downloadBytes << tick.taken.uploadBytes << tick.taken.packets << int64_t(meter.usedBytes()) << int64_t(meter.activeLimit())
                     << restrictionText(meter.restriction()) << meter.remaining() << meter.levelPercent()
                     << meter.bytesToThrottle();
    decimal(meter.bytesToCutOff(), 17) << formatDuration(meter.fullRecoverySeconds())
                                        << formatDuration(meter.secondsToThrottle())
                                        << formatDuration(meter.secondsToCutOff()) << trendText(meter.trend());
    single(stats.averageDownload) << int64_t(stats.instantDownload);
    single(stats.averageUpload).single(stats.instantUpload)
        << int64_t(counters.downloadedTotal.load()) << int64_t(counters.uploadedTotal.load())
        << int64_t(counters.downloadPackets.load()) << int64_t(counters.uploadPackets.load());
    return single(counters.meanPacketSize.load());
}

CsvLine &CsvLine::operator<<(int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    return field(std::string_view(digits, size_t(end - digits)));
}

CsvLine &CsvLine::decimal(double value, int significant)
{
    if (value == 0.0 || !std::isfinite(value))
        return field(QString::number(value).toStdString());
    const int magnitude = int(std::floor(std::log10(std::fabs(value))));
    char digits[400];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed,
                      std::max(0, significant - 1 - magnitude))
            .ptr;
    std::string_view text(digits, size_t(end - digits));
    if (text.find('.') != std::string_view::npos) {
        while (text.ends_with('0'))
            text.remove_suffix(1);
        if (text.ends_with('.'))
            text.remove_suffix(1);
    }
    return field(text);
}

CsvLine &CsvLine::time(const std::tm &local)
{
    char text[96]; // room for any int the fields could hold
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return field(text);
}

CsvLine &CsvLine::field(std::string_view text)
{
    if (!m_text.empty())
        m_text += ',';
    m_text += text;
    return *this;
}
